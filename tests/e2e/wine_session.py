"""Runs tenmark.exe under Wine on a virtual X display and observes it as a user would.

One Wine prefix is prepared per test run (Japanese locale, fonts, a Wine virtual desktop so that
window frames are drawn); every test gets its own folder with its own copy of the executable, its
own X display, real key and mouse input through xdotool, and a hard time-out.
"""
import os
import shutil
import signal
import subprocess
import tempfile
import time

DESKTOP = (1024, 768)
# ImageMagick itself, not a wrapper that an earlier PATH entry may put in front of it.
CONVERT = '/usr/bin/convert' if os.path.exists('/usr/bin/convert') else 'convert'
IMPORT = '/usr/bin/import' if os.path.exists('/usr/bin/import') else 'import'
INK = '000000'
PAPER = 'F4F1EA'  # the default canvas background, 0xEAF1F4 as red, green, blue
FONT_NAMES = ['MS UI Gothic', 'MS Shell Dlg', 'MS Shell Dlg 2', 'Tahoma', 'ＭＳ Ｐゴシック',
              'MS PGothic', 'ＭＳ ゴシック', 'MS Gothic']


class E2EError(AssertionError):
    pass


def windows_path(path):
    """A path of this machine as the programs under Wine name it."""
    return 'Z:' + path.replace('/', '\\')


def wait_until(predicate, timeout=30, what='the expected state', interval=0.1):
    """Calls predicate until it gives a true value and returns that value; fails after timeout
    seconds, naming what was awaited."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise E2EError('%s: not seen within %g s' % (what, timeout))
        time.sleep(interval)


def wait_file(path, timeout=30):
    """Waits until the file exists and its size has stopped changing."""
    def settled():
        if not os.path.exists(path):
            return None
        size = os.path.getsize(path)
        time.sleep(0.1)
        return os.path.exists(path) and os.path.getsize(path) == size
    return wait_until(settled, timeout, 'the file ' + path)


def read_pixels(png, points):
    """The colours (RRGGBB) of a picture file at the points, in one ImageMagick run."""
    out = subprocess.run([CONVERT, png, '-depth', '8', 'ppm:-'], capture_output=True,
                         timeout=60, check=True).stdout
    width = int(out.split(maxsplit=3)[1])
    data = out[len(out) - 3 * width * int(out.split(maxsplit=3)[2]):]
    return ['%02X%02X%02X' % tuple(data[3 * (y * width + x):3 * (y * width + x) + 3])
            for x, y in points]


def base_env(prefix):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix, WINEDEBUG='-all', WINEDLLOVERRIDES='mscoree,mshtml=',
               LANG='ja_JP.UTF-8', LC_ALL='ja_JP.UTF-8', WINEARCH='win64')
    return env


def prepare_prefix(root):
    """Creates the run's Wine prefix once: boot, virtual desktop, Japanese font replacements."""
    prefix = os.path.join(root, 'prefix')
    env = base_env(prefix)
    with Display() as display:
        env['DISPLAY'] = display.name
        subprocess.run(['wineboot', '-i'], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300, check=False)
        keys = [(r'HKCU\Software\Wine\Explorer', 'Desktop', 'Default'),
                (r'HKCU\Software\Wine\Explorer\Desktops', 'Default', '%dx%d' % DESKTOP)]
        keys += [(r'HKCU\Software\Wine\Fonts\Replacements', name, 'IPAPGothic')
                 for name in FONT_NAMES]
        for key, name, value in keys:
            subprocess.run(['wine', 'reg', 'add', key, '/v', name, '/d', value, '/f'], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120,
                           check=True)
        subprocess.run(['wineserver', '-w'], env=env, timeout=120, check=False)
    return prefix


class Display:
    """A private Xvfb server."""

    def __init__(self):
        self.process = None
        self.name = None

    def __enter__(self):
        for number in range(200, 400):
            if os.path.exists('/tmp/.X%d-lock' % number):
                continue
            proc = subprocess.Popen(['Xvfb', ':%d' % number, '-screen', '0',
                                     '%dx%dx24' % DESKTOP, '-nolisten', 'tcp'],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(50):
                if os.path.exists('/tmp/.X11-unix/X%d' % number) or proc.poll() is not None:
                    break
                time.sleep(0.1)
            if proc.poll() is None:
                self.process, self.name = proc, ':%d' % number
                return self
        raise E2EError('no free X display')

    def __exit__(self, *exc):
        if self.process:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()


class App:
    """One running tenmark.exe in a folder of its own."""

    def __init__(self, exe, probe, prefix, workdir, args=(), start=True, copy_exe=True):
        self.folder = workdir
        self.exe = os.path.join(workdir, 'tenmark.exe')
        if copy_exe:
            shutil.copy(exe, self.exe)
        self.probe_exe = os.path.join(os.path.dirname(workdir), 'tenmark_probe.exe')
        if not os.path.exists(self.probe_exe):
            shutil.copy(probe, self.probe_exe)
        self.env = base_env(prefix)
        self.display = Display().__enter__()
        self.env['DISPLAY'] = self.display.name
        self.args = list(args)
        self.process = None
        self.returncode = None
        self.desktop_ready = False
        if start:
            self.start()

    # --- life cycle -------------------------------------------------------------------------
    def start(self, bare_name=False):
        """Starts the program; with bare_name as typed in a command prompt in its folder."""
        program = os.path.basename(self.exe) if bare_name else self.exe
        self.process = subprocess.Popen(['wine', program] + self.args, cwd=self.folder,
                                        env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)

    def wait_desktop(self, timeout=60):
        # Starting a second Wine program while the first is still bringing up the prefix's
        # services can hang it: wait until the virtual desktop is on the display. On a busy
        # machine Wine itself may not bring it up: that start is made once more, said in the log,
        # and never counted as the program's failure (the program has not run yet).
        def desktop():
            return subprocess.run(['xdotool', 'search', '--name', 'Wine desktop'], env=self.env,
                                  capture_output=True, timeout=30, check=False).stdout.strip()
        try:
            wait_until(desktop, timeout, 'the Wine desktop', interval=0.2)
        except E2EError as error:
            print('e2e: %s; Wine is started once more' % error, flush=True)
            if self.process and self.process.poll() is None:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait(timeout=10)
            subprocess.run(['wineserver', '-k'], env=self.env, timeout=60, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.start()
            wait_until(desktop, timeout, 'the Wine desktop', interval=0.2)

    def wait_window(self, timeout=60):
        """Waits for the main window, shown and painted (its view has a size), and for the
        program to take input (its caption is set)."""
        def shown():
            if self.process.poll() is not None:
                raise E2EError('tenmark.exe ended before its window appeared (exit %s)'
                               % self.process.returncode)
            info = self.window()
            return info if info.get('found') == '1' and info.get('title_hex') else None
        return wait_until(shown, timeout, 'the main window')

    def wait_title(self, check, timeout=20):
        """Waits until the caption contains the bytes `check` (or check(caption) is true); the
        caption."""
        test = check if callable(check) else (lambda title: check in title)
        return wait_until(lambda: (lambda t: t if test(t) else None)(self.title()), timeout,
                          'the caption %r' % (check if not callable(check) else 'change',))

    def wait_box(self, present=True, timeout=30):
        """Waits until a message box is on screen (or gone); its facts."""
        return wait_until(lambda: (lambda box: box if (box.get('found') == '1') == present
                                   else None)(self.message_box()),
                          timeout, 'a message box' if present else 'the message box to go')

    def wait_dialog(self, *ids, present=True, timeout=30):
        """Waits until a dialog is on screen (or gone); its facts for the controls `ids`."""
        return wait_until(lambda: (lambda d: d if (d.get('found') == '1') == present
                                   else None)(self.dialog(*ids)),
                          timeout, 'a dialog' if present else 'the dialog to go')

    def wait_pixels(self, points, want, timeout=20, name='screen.png'):
        """Screenshots until the screen shows the colours `want` at the points; the colours of
        the last screenshot (kept as `name`), for the test to compare."""
        seen = []

        def shows():
            seen[:] = read_pixels(self.screenshot(name), points)
            return seen == list(want)
        try:
            wait_until(shows, timeout, 'the colours %s' % (want,), interval=0.2)
        except E2EError:
            pass
        return seen

    def wait_exit(self, timeout=30):
        try:
            self.returncode = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None
        return self.returncode

    def close(self):
        if self.process and self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait(timeout=10)
        # Every test starts from a stopped Wine: no desktop or process of an earlier test is left
        # attached to a display that no longer exists.
        subprocess.run(['wineserver', '-k'], env=self.env, timeout=60, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(['wineserver', '-w'], env=self.env, timeout=60, check=False)
        self.display.__exit__(None, None, None)

    # --- observations -----------------------------------------------------------------------
    def probe(self, what='window', *args):
        if not self.desktop_ready:
            self.wait_desktop()
            self.desktop_ready = True
        out = subprocess.run(['wine', self.probe_exe, what] + list(args), env=self.env,
                             capture_output=True,
                             timeout=60, check=False).stdout.decode('ascii', 'replace')
        return out

    def window(self):
        return self.facts('window')

    def message_box(self):
        """The message box on screen, if any: found, title_hex, text_hex."""
        return self.facts('message')

    def dialog(self, *ids):
        """The dialog on screen, if any: found, title_hex, and per control id its text_hex,
        rect and enabled state."""
        return self.facts('dialog', *[str(i) for i in ids])

    def menu(self):
        """Menu 128 of the executable as (position, id, state, separator, text bytes)."""
        items = []
        for line in self.probe('menu', self.windows_exe()).splitlines():
            fields = dict(f.split('=', 1) for f in line.split())
            items.append((fields['item'], int(fields['id']), int(fields['state']),
                          fields['separator'] == '1', bytes.fromhex(fields['text_hex'])))
        return items

    def resources(self):
        """Cursor hot spots and sizes, the icon and string 1 of the running executable."""
        return self.facts('resources', self.windows_exe())

    def windows_exe(self):
        return windows_path(self.exe)

    def facts(self, what, *args):
        info = {}
        for line in self.probe(what, *args).splitlines():
            key, _, value = line.strip().partition('=')
            info[key] = value
        for key in info:
            if key in ('window', 'client', 'view', 'work') or key.startswith('rect'):
                info[key] = tuple(int(v) for v in info[key].split(','))
        return info

    def title(self):
        return bytes.fromhex(self.window().get('title_hex', ''))

    def screenshot(self, name):
        path = os.path.join(self.folder, name)  # an absolute name stays as it is
        subprocess.run([IMPORT, '-display', self.display.name, '-window', 'root', path],
                       timeout=60, check=True)
        return path

    @staticmethod
    def pixel(png, x, y):
        return read_pixels(png, [(x, y)])[0]

    def colours(self, name, points):
        """The colours on screen at the points, from one screenshot kept as `name`."""
        return read_pixels(self.screenshot(name), points)

    # --- input ------------------------------------------------------------------------------
    def xdotool(self, *args):
        subprocess.run(['xdotool'] + [str(a) for a in args], env=self.env, timeout=30,
                       check=True)

    def key(self, *keys):
        # Paced like a typist: a menu or dialog that a key opens is up before the next key.
        for k in keys:
            self.xdotool('key', '--delay', '50', k)
            time.sleep(0.25)

    def click(self, x, y, button=1):
        # The pointer rests before the press, so the press lands in the window under it.
        self.xdotool('mousemove', x, y, 'sleep', '0.15', 'click', button, 'sleep', '0.15')

    def drag(self, points, button=1, pace=0.03):
        """A press at the first point, moves through the others `pace` seconds apart (the
        window sees each move), and the release at the last."""
        steps = ['mousemove', *points[0], 'sleep', '0.15', 'mousedown', button]
        for x, y in points[1:]:
            steps += ['sleep', str(pace), 'mousemove', x, y]
        self.xdotool(*steps, 'sleep', '0.1', 'mouseup', button)

    def focus(self):
        """Puts the pointer over the client area: X focus follows the pointer on a bare server."""
        info = self.window()
        cx, cy, cw, ch = info['client']
        self.xdotool('mousemove', cx + cw // 2, cy + ch // 2, 'sleep', '0.2')
        return info


def new_workdir(root, name):
    path = tempfile.mkdtemp(prefix=name + '-', dir=root)
    return path
