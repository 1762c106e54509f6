"""Base class of the end-to-end tests: one App per test, always cleaned up, hard time-out."""
import os
import signal
import unittest

from wine_session import App, new_workdir

TEST_TIMEOUT = 180


class E2ECase(unittest.TestCase):
    exe = None       # set by run_e2e.py
    probe = None
    wintab = None
    prefix = None
    root = None

    def setUp(self):
        self.apps = []
        signal.signal(signal.SIGALRM, self._timed_out)
        signal.alarm(TEST_TIMEOUT)

    def tearDown(self):
        signal.alarm(0)
        for app in self.apps:
            app.close()

    def _timed_out(self, *_):
        raise TimeoutError('test exceeded %d s' % TEST_TIMEOUT)

    def launch(self, args=(), files=None, start=True):
        """Starts tenmark.exe in a fresh folder; `files` maps names to bytes placed beside it."""
        folder = new_workdir(self.root, self.id().split('.')[-1])
        for name, data in (files or {}).items():
            with open(os.path.join(folder, name), 'wb') as f:
                f.write(data)
        app = App(self.exe, self.probe, self.prefix, folder, args=args, start=start)
        self.apps.append(app)
        return app

    def assertExitsWith(self, app, code, timeout=30):
        result = app.wait_exit(timeout)
        self.assertIsNotNone(result, 'tenmark.exe is still running %d s later' % timeout)
        self.assertEqual(result, code)
