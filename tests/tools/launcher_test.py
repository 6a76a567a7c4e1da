"""The installed launcher runs with the interpreter the build found, not the PATH's python3.

Needs a configured build: AEROQUIN_CMAKE and AEROQUIN_BUILD_DIR (CTest's report_launcher sets
them); its interpreter is the one the tests run under."""

import importlib.util
import os
import subprocess
import tempfile
import unittest

from support import PYTHON, fixture

HAVE_MATPLOTLIB = importlib.util.find_spec("matplotlib") is not None


@unittest.skipUnless(HAVE_MATPLOTLIB, "matplotlib is not installed for %s" % PYTHON)
class InstalledLauncherTest(unittest.TestCase):
    def test_its_first_line_names_the_build_interpreter_and_it_plots_without_a_path(self):
        with tempfile.TemporaryDirectory() as prefix:
            subprocess.run(
                [os.environ["AEROQUIN_CMAKE"], "--install", os.environ["AEROQUIN_BUILD_DIR"],
                 "--component", "report", "--prefix", prefix],
                check=True, capture_output=True,
            )
            launcher = os.path.join(prefix, "bin", "aeroquin-report")
            with open(launcher, encoding="utf-8") as file:
                self.assertEqual(file.readline(), "#!%s\n" % PYTHON)
            # No python3 on the PATH: `#!/usr/bin/env python3` would fail here.
            target = os.path.join(prefix, "glider.png")
            done = subprocess.run(
                [launcher, "plot", fixture("glider.csv"), "-o", target],
                capture_output=True, text=True, env=dict(os.environ, PATH="/nonexistent"),
            )
            self.assertEqual(
                (done.returncode, done.stdout, done.stderr),
                (0, "Figure written: %s\n" % target, ""),
            )


if __name__ == "__main__":
    unittest.main()
