"""Base class of the end-to-end tests: one App per test, always cleaned up, hard time-out."""
import os
import signal
import unittest

from config_files import DEFAULT_BINDINGS, config_text, default_options
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

    @classmethod
    def new_app(cls, name, args=(), files=None, start=True):
        folder = new_workdir(cls.root, name)
        for file_name, data in (files or {}).items():
            with open(os.path.join(folder, file_name), 'wb') as f:
                f.write(data)
        return App(cls.exe, cls.probe, cls.prefix, folder, args=args, start=start)

    def launch(self, args=(), files=None, start=True):
        """Starts tenmark.exe in a fresh folder; `files` maps names to bytes placed beside it."""
        app = self.new_app(self.id().split('.')[-1], args, files, start)
        self.apps.append(app)
        return app

    def launch_configured(self, options=(), bindings=(), start=True):
        """Starts tenmark.exe with a tenmark.ini of the default values but `options` and
        `bindings` (dicts of changed values)."""
        app = self.launch(start=False)
        values = dict(default_options(app.folder))
        values.update(options)
        keys = dict(DEFAULT_BINDINGS)
        keys.update(bindings)
        with open(os.path.join(app.folder, 'tenmark.ini'), 'wb') as f:
            f.write(config_text(list(values.items()), list(keys.items())))
        if start:
            app.start()
        return app

    @classmethod
    def launch_shared(cls):
        """Starts tenmark.exe once for a class whose tests only observe it (call it from
        setUpClass); closed after the class's last test."""
        app = cls.new_app(cls.__name__)
        cls.addClassCleanup(app.close)
        return app

    def assertExitsWith(self, app, code, timeout=30):
        result = app.wait_exit(timeout)
        self.assertIsNotNone(result, 'tenmark.exe is still running %d s later' % timeout)
        self.assertEqual(result, code)

    def ini(self, app):
        """tenmark.ini beside the program, as bytes."""
        with open(os.path.join(app.folder, 'tenmark.ini'), 'rb') as f:
            return f.read()
