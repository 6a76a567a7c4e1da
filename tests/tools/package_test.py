"""The package installed by pip, offline, into a fresh virtual environment with Debian's
packages: its command carries the version of the tree it was built from and reads reports as the
source tree's does."""

import os
import shutil
import subprocess
import tempfile
import unittest

from support import PACKAGE_ROOT, PYTHON, fixture, run_tool

# A version of its own, which no other copy of the package can pass for.
BUILT_VERSION = "9.8.7"


def run(command, cwd=None):
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    env["PYTHONNOUSERSITE"] = "1"
    done = subprocess.run(command, capture_output=True, text=True, cwd=cwd, env=env, timeout=300)
    return done.returncode, done.stdout, done.stderr


class PipInstallTest(unittest.TestCase):
    def test_installed_command_has_the_built_version_and_summarises(self):
        with tempfile.TemporaryDirectory() as folder:
            # The tree's layout, copied: building in place would leave build/ and *.egg-info in
            # the source tree.
            tree = os.path.join(folder, "tree")
            source = os.path.join(tree, "tools", "report")
            shutil.copytree(PACKAGE_ROOT, source,
                            ignore=shutil.ignore_patterns("__pycache__", "build", "*.egg-info"))
            with open(os.path.join(tree, "VERSION"), "w", encoding="ascii") as file:
                file.write(BUILT_VERSION + "\n")
            venv = os.path.join(folder, "venv")
            pip = [os.path.join(venv, "bin", "python"), "-m", "pip"]
            steps = [
                [PYTHON, "-m", "venv", "--system-site-packages", venv],
                pip + ["install", "--no-build-isolation", "--no-index", "--no-cache-dir",
                       "--disable-pip-version-check", "--quiet", source],
            ]
            for step in steps:
                status, out, err = run(step)
                self.assertEqual(status, 0, "%s:\n%s%s" % (" ".join(step), out, err))
            # What is installed needs nothing of the tree it was built from.
            shutil.rmtree(tree)

            command = os.path.join(venv, "bin", "aeroquin-report")
            self.assertEqual(run([command, "--version"], cwd=folder),
                             (0, "aeroquin-report %s\n" % BUILT_VERSION, ""))
            _, summary, _ = run_tool("summary", "moment.csv", cwd=fixture(""))
            self.assertEqual(run([command, "summary", "moment.csv"], cwd=fixture("")),
                             (0, summary, ""))


if __name__ == "__main__":
    unittest.main()
