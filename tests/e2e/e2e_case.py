"""Base class of the end-to-end tests: one App per test, always cleaned up, hard time-out."""
import contextlib
import os
import signal
import subprocess
import unittest

from config_files import DEFAULT_BINDINGS, config_text, default_options
from wine_session import App, base_env, new_workdir

TEST_TIMEOUT = 180
# Wine takes the system DPI from this value when it is there (as winecfg sets it), else from
# HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts.
DPI_KEY = r'HKCU\Control Panel\Desktop'


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

    def set_dpi(self, dpi):
        """LogPixels of the prefix, None to take the value away; the next Wine start reads it."""
        env = base_env(self.prefix)
        if dpi is None:
            command = ['wine', 'reg', 'delete', DPI_KEY, '/v', 'LogPixels', '/f']
        else:
            command = ['wine', 'reg', 'add', DPI_KEY, '/v', 'LogPixels', '/t', 'REG_DWORD', '/d',
                       str(dpi), '/f']
        for args in (command, ['wineserver', '-w']):
            subprocess.run(args, env=env, capture_output=True, timeout=120, check=False)

    @contextlib.contextmanager
    def dpi(self, dpi):
        """The program started inside runs at `dpi`; the prefix has its own value again after."""
        self.set_dpi(dpi)
        try:
            yield
        finally:
            for app in self.apps:
                app.close()
            self.set_dpi(None)

    def assertExitsWith(self, app, code, timeout=30):
        result = app.wait_exit(timeout)
        self.assertIsNotNone(result, 'tenmark.exe is still running %d s later' % timeout)
        self.assertEqual(result, code)

    def ini(self, app):
        """tenmark.ini beside the program, as bytes."""
        with open(os.path.join(app.folder, 'tenmark.ini'), 'rb') as f:
            return f.read()
