"""Base class of the end-to-end tests: one Wine session per class, its tests scenarios of steps,
each running tenmark.exe from a new folder; the program always ended, a hard time-out."""
import os
import signal
import unittest

from wine_session import App, new_workdir

TEST_TIMEOUT = 240


def ini_text(values):
    """tenmark.ini of these keys (the program takes its defaults for the others)."""
    return ''.join('%s=%s\r\n' % kv for kv in values.items()).encode('cp932')


def ini_values(data):
    return dict(line.split('=', 1) for line in data.decode('cp932').split('\r\n') if '=' in line)


class E2ECase(unittest.TestCase):
    exe = probe = wintab = prefix = root = None  # set by run_e2e.py

    @classmethod
    def setUpClass(cls):
        cls.app = App(cls.exe, cls.probe, cls.prefix, new_workdir(cls.root, cls.__name__),
                      start=False)
        cls.addClassCleanup(cls.app.close)

    def setUp(self):
        self.current = None
        self.failures_before = self.failures()
        signal.signal(signal.SIGALRM, self._timed_out)
        signal.alarm(TEST_TIMEOUT)

    def tearDown(self):
        signal.alarm(0)
        if self.failures() > self.failures_before:  # a screenshot of the screen as it failed
            try:
                self.app.screenshot('failed-%s.shot.png' % self._testMethodName)
            except Exception:  # noqa: BLE001 - the failure itself is what is reported
                pass
        self.app.stop()

    def failures(self):
        return len(self._outcome.result.failures) + len(self._outcome.result.errors)

    def _timed_out(self, *_):
        raise TimeoutError('test exceeded %d s' % TEST_TIMEOUT)

    def step(self, what):
        """Names the check that follows: a failure says in which step it came."""
        self.current = what

    def folder(self, name=None):
        """A new folder in the run's root, named after the test."""
        return new_workdir(self.root, name or self._testMethodName)

    def launch(self, ini=None, args=(), folder=None, files=None, env=None, bare_name=False,
               wait=True):
        """Starts tenmark.exe from `folder` (a new one by default) beside a tenmark.ini of the
        `ini` values and the `files` (names to bytes) when given; waits for its window."""
        self.app.use(folder or self.folder(), args)
        files = dict(files or {})
        if ini is not None:
            files['tenmark.ini'] = ini_text(ini)
        for name, data in files.items():
            with open(os.path.join(self.app.folder, name), 'wb') as f:
                f.write(data)
        self.app.start(bare_name, env)
        if wait:
            self.app.wait_window()
        return self.app

    def assertExitsWith(self, code=0, timeout=30):
        result = self.app.wait_exit(timeout)
        self.assertIsNotNone(result, 'tenmark.exe is still running %d s later' % timeout)
        self.assertEqual(result, code)

    def leave(self, *keys):
        """The keys (Escape by default) over the window; the program ends with exit code 0."""
        self.app.focus()
        self.app.key(*(keys or ['Escape']))
        self.assertExitsWith(0)

    def ini(self):
        """tenmark.ini beside the program, as bytes."""
        with open(os.path.join(self.app.folder, 'tenmark.ini'), 'rb') as f:
            return f.read()

    def pictures(self, folder=None):
        return sorted(f for f in os.listdir(folder or self.app.folder)
                      if f.endswith(('.png', '.bmp', '.PNG')) and not f.endswith('.shot.png'))
