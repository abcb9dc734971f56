"""The Win32 window layer's own check program, run on the platform (Wine + Xvfb)."""
import subprocess
import unittest

from harness import ENV, Display, wine_env, wine_prefix


class WindowLayer(unittest.TestCase):
    def test_modal_semantics(self):
        display = Display()
        self.addCleanup(display.close)
        wine_prefix("prepare")
        self.addCleanup(wine_prefix, "stop")
        run = subprocess.run(["wine", ENV["KX_LAYER_CHECK"]], text=True, capture_output=True,
                             env=dict(wine_env(), DISPLAY=display.name), timeout=60)
        print(run.stdout)
        self.assertEqual(run.returncode, 0, run.stdout)
        self.assertNotIn("FAIL", run.stdout)


if __name__ == "__main__":
    unittest.main()
