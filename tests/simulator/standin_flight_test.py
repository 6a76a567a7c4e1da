"""The stand-in's side of the free-flight check that tools/check-in-simulator runs in both worlds:
the sailplane captured at rates and in sideslip (examples/glider-rates), released by the test
plug-in FreeFlight at the level-flight trim that aeroquin-report finds in the capture, nudged in
pitch and in yaw, and flown free; the modes fitted from its flights must be the predicted ones
(check_flight.py's bounds).

Runs the real aeroquin-host with the real module and plug-in (paths from AEROQUIN_HOST,
AEROQUIN_MODULE, AEROQUIN_FREEFLIGHT and AEROQUIN_GLIDER_AERO).
"""

import contextlib
import glob
import io
import os
import shutil
import subprocess
import tempfile
import unittest

import check_flight

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.normpath(os.path.join(HERE, os.pardir, os.pardir, "examples"))
FRAMES = 7500  # 150 s: four periods of the phugoid, one time constant of the spiral


def host(root, module, *options):
    done = subprocess.run(
        [os.environ["AEROQUIN_HOST"], "--root", root, "--module", module, "--display", "none",
         *options], capture_output=True, text=True, timeout=300)
    return done


class StandInFlight(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        root = cls.root = os.path.join(cls.dir.name, "glider")
        shutil.copytree(os.path.join(EXAMPLES, "glider"), root)
        shutil.copytree(os.path.join(EXAMPLES, "glider-rates"), root, dirs_exist_ok=True)
        shutil.copy(os.environ["AEROQUIN_GLIDER_AERO"], os.path.join(root, "Modules"))
        done = host(root, os.environ["AEROQUIN_MODULE"])
        assert done.returncode == 0, done.stderr
        cls.report = glob.glob(os.path.join(root, "Reports", "*.csv"))[0]
        cls.logs = {}
        for nudge in ("pitch", "yaw"):
            text = io.StringIO()
            with contextlib.redirect_stdout(text):
                check_flight.release(cls.report, "SG-01", nudge, nudge + ".csv")
            with open(os.path.join(root, "Config", "Modules", "Plugin", "FreeFlight.cfg"),
                      "w") as cfg:
                cfg.write(text.getvalue())
            done = host(root, os.environ["AEROQUIN_FREEFLIGHT"], "--frames", str(FRAMES))
            # The plug-in never completes a capture: the host stops it after the frames.
            assert done.returncode == 3, done.stderr
            cls.logs[nudge] = os.path.join(root, nudge + ".csv")

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def test_release_is_the_trim(self):
        """The first row is a frame after the release: level, wings level, heading north, at the
        trim's airspeed and 1000 m, pitching up at the nudge."""
        log = check_flight.read_log(self.logs["pitch"])
        first = {name: values[0] for name, values in log.items()}
        self.assertAlmostEqual(first["altitude"], 1000.0, delta=0.1)
        self.assertAlmostEqual(first["u"], 66.16, delta=0.1)
        self.assertAlmostEqual(first["bank"], 0.0, delta=1e-4)
        self.assertAlmostEqual(first["heading"], 0.0, delta=1e-4)
        self.assertGreater(first["q"], 0.0)
        yaw = check_flight.read_log(self.logs["yaw"])
        # A positive yaw rate turns the nose to the right, towards east.
        self.assertGreater(yaw["heading"][10], 0.0)

    def test_thrust_holds_the_speed(self):
        """With the thrust the drag is balanced: the speed comes back to the trim's."""
        u = check_flight.read_log(self.logs["pitch"])["u"]
        self.assertAlmostEqual(u[-1], u[0], delta=0.2)

    def test_modes_flown_are_the_predicted(self):
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            status = check_flight.main(["check_flight.py", "check", self.report,
                                        self.logs["pitch"], self.logs["yaw"]])
        self.assertEqual(status, 0, out.getvalue())
        self.assertIn("short period", out.getvalue())
        self.assertIn("the same verdict", out.getvalue())


if __name__ == "__main__":
    unittest.main()
