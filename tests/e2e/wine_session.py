"""Runs tenmark.exe under Wine on a virtual X display and observes it as a user would.

One Wine prefix is prepared per test run (Japanese locale, fonts, a Wine virtual desktop so that
window frames are drawn). A session is an X display of its own on which Wine is kept up by a
console waiting on its input, so that the programs started one after another find the desktop
there and start at once; each program runs from a folder of its own, driven by real keys and
mouse moves through xdotool.
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
# Wine takes the DPI from this value (as winecfg sets it) as each program starts.
DPI_KEY = r'HKCU\Control Panel\Desktop'
QUIET = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


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
        time.sleep(0.1)  # a size that holds for a moment: the writer is done
        return os.path.exists(path) and os.path.getsize(path) == size
    return wait_until(settled, timeout, 'the file ' + path)


def read_pixels(png, points):
    """The colours (RRGGBB) of a picture file at the points, in one ImageMagick run."""
    out = subprocess.run([CONVERT, png, '-depth', '8', 'ppm:-'], capture_output=True,
                         timeout=60, check=True).stdout
    width, height = (int(v) for v in out.split(maxsplit=3)[1:3])
    data = out[len(out) - 3 * width * height:]
    return ['%02X%02X%02X' % tuple(data[3 * (y * width + x):3 * (y * width + x) + 3])
            for x, y in points]


def convert(*args):
    subprocess.run([CONVERT] + list(args), check=True, timeout=60)


def one_bit_png(path, width=120, height=80, ground='white', depth=1):
    """A black rectangle from 10,10 to 29,19 on the ground colour: a 1-bit PNG as ImageMagick
    writes bilevel pictures, or with depth 8 an 8-bit greyscale one."""
    convert('-size', '%dx%d' % (width, height), 'xc:' + ground, '-fill', 'black', '-draw',
            'rectangle 10,10 29,19', *(['-type', 'bilevel', 'PNG8:' + path] if depth == 1 else
                                       ['-define', 'png:color-type=0', '-depth', '8', path]))
    if depth == 1:
        convert(path, '-define', 'png:bit-depth=1', path)


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
        subprocess.run(['wineboot', '-i'], env=env, timeout=300, check=False, **QUIET)
        keys = [(r'HKCU\Software\Wine\Explorer', 'Desktop', 'Default'),
                (r'HKCU\Software\Wine\Explorer\Desktops', 'Default', '%dx%d' % DESKTOP)]
        keys += [(r'HKCU\Software\Wine\Fonts\Replacements', name, 'IPAPGothic')
                 for name in FONT_NAMES]
        for key, name, value in keys:
            subprocess.run(['wine', 'reg', 'add', key, '/v', name, '/d', value, '/f'], env=env,
                           timeout=120, check=True, **QUIET)
        subprocess.run(['wineserver', '-w'], env=env, timeout=120, check=False)
    return prefix


class Display:
    """A private Xvfb server."""

    def __enter__(self):
        for number in range(200, 400):
            if os.path.exists('/tmp/.X%d-lock' % number):
                continue
            self.process = subprocess.Popen(['Xvfb', ':%d' % number, '-screen', '0',
                                             '%dx%dx24' % DESKTOP, '-nolisten', 'tcp'], **QUIET)
            self.name = ':%d' % number
            try:
                wait_until(lambda: os.path.exists('/tmp/.X11-unix/X%d' % number)
                           or self.process.poll() is not None, 5, 'the X server')
            except E2EError:
                pass
            if self.process.poll() is None:
                return self
        raise E2EError('no free X display')

    def __exit__(self, *exc):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()


class App:
    """A Wine session on an X display of its own, and tenmark.exe run in it from a folder."""

    def __init__(self, exe, probe, prefix, workdir, args=(), start=True, copy_exe=True):
        self.source = exe
        self.probe_exe = os.path.join(os.path.dirname(workdir), 'tenmark_probe.exe')
        if not os.path.exists(self.probe_exe):
            shutil.copy(probe, self.probe_exe)
        self.env = base_env(prefix)
        self.display = Display().__enter__()
        self.env['DISPLAY'] = self.display.name
        self.holder = self.process = None
        self.bring_up()
        self.use(workdir, args, copy_exe)
        if start:
            self.start()

    # --- the session ------------------------------------------------------------------------
    def bring_up(self):
        # A console waiting on its input keeps Wine up, so that every later program starts at
        # once on the desktop already there. On a busy machine Wine itself may not bring its
        # desktop up: that start is made once more, said in the log; no program has run yet.
        for attempt in (1, 2):
            self.holder = subprocess.Popen(['wine', 'cmd'], env=self.env, stdin=subprocess.PIPE,
                                           start_new_session=True, **QUIET)
            try:
                wait_until(lambda: subprocess.run(
                    ['xdotool', 'search', '--name', 'Wine desktop'], env=self.env,
                    capture_output=True, timeout=30, check=False).stdout.strip(), 60,
                    'the Wine desktop', interval=0.2)
                return
            except E2EError as error:
                if attempt == 2:
                    raise
                print('e2e: %s; Wine is started once more' % error, flush=True)
                self.stop_wine()

    def stop_wine(self):
        self.stop()
        if self.holder:
            self.holder.stdin.close()
            os.killpg(self.holder.pid, signal.SIGKILL)
            self.holder.wait(timeout=10)
        for flag in ('-k', '-w'):
            subprocess.run(['wineserver', flag], env=self.env, timeout=60, check=False, **QUIET)

    def close(self):
        self.stop_wine()
        self.display.__exit__(None, None, None)

    def wine(self, *args):
        """Runs another Windows program in the session; its output."""
        return subprocess.run(['wine'] + [str(a) for a in args], env=self.env,
                              capture_output=True, timeout=120, check=False).stdout

    def set_dpi(self, dpi):
        """The DPI of the programs started from now on; None for the prefix's own. Wine is
        started again with it, as Windows needs a new logon, so that the desktop has it too."""
        self.wine('reg', *(['add', DPI_KEY, '/v', 'LogPixels', '/t', 'REG_DWORD', '/d', dpi, '/f']
                           if dpi else ['delete', DPI_KEY, '/v', 'LogPixels', '/f']))
        self.stop_wine()
        self.bring_up()

    # --- the program ------------------------------------------------------------------------
    def use(self, folder, args=(), copy_exe=True):
        """The folder (with its own copy of the executable) and arguments of the next start."""
        self.folder, self.args = folder, [str(a) for a in args]
        self.exe = os.path.join(folder, 'tenmark.exe')
        if copy_exe:
            shutil.copy(self.source, self.exe)

    def start(self, bare_name=False, env=None):
        """Starts the program; with bare_name as typed in a command prompt in its folder."""
        program = os.path.basename(self.exe) if bare_name else self.exe
        self.process = subprocess.Popen(['wine', program] + self.args, cwd=self.folder,
                                        env=dict(self.env, **(env or {})),
                                        start_new_session=True, **QUIET)

    def stop(self):
        if self.process and self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait(timeout=10)

    def wait_exit(self, timeout=30):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    # --- observations -----------------------------------------------------------------------
    def probe(self, what='window', *args):
        return self.wine(self.probe_exe, what, *args).decode('ascii', 'replace')

    def facts(self, what='window', *args):
        """The probe's facts: rectangles as tuples, hex texts as text under the name without
        "_hex"."""
        info = {}
        for line in self.probe(what, *args).splitlines():
            key, _, value = line.strip().partition('=')
            if key.endswith('_hex'):
                key, value = key[:-4], bytes.fromhex(value).decode('utf-8')
            elif key in ('window', 'client', 'view', 'work') or key.startswith('rect'):
                value = tuple(int(v) for v in value.split(','))
            info[key] = value
        return info

    def window(self):
        return self.facts('window')

    def title(self):
        return self.window().get('title', '')

    def dialog(self, *ids):
        """The dialog on screen, if any: found, title, and per control id its text, rect and
        enabled state."""
        return self.facts('dialog', *ids)

    def wait_window(self, timeout=60):
        """Waits for the main window, shown and painted (its view has a size), and for the
        program to take input (its caption is set)."""
        def shown():
            if self.process.poll() is not None:
                raise E2EError('tenmark.exe ended before its window appeared (exit %s)'
                               % self.process.returncode)
            info = self.window()
            return info if info.get('found') == '1' and info.get('title') else None
        return wait_until(shown, timeout, 'the main window')

    def wait_title(self, check, timeout=20):
        """Waits until the caption contains `check` (or check(caption) is true); the caption."""
        test = check if callable(check) else (lambda title: check in title)
        return wait_until(lambda: (lambda t: t if test(t) else None)(self.title()), timeout,
                          'the caption %r' % (check if not callable(check) else 'change',))

    def wait_box(self, present=True, timeout=30):
        """Waits until a message box is on screen (or gone); its facts."""
        return wait_until(lambda: (lambda box: box if (box.get('found') == '1') == present
                                   else None)(self.facts('message')),
                          timeout, 'a message box' if present else 'the message box to go')

    def box_text(self):
        return self.wait_box()['text']

    def wait_dialog(self, *ids, present=True, timeout=30):
        """Waits until a dialog is on screen (or gone); its facts for the controls `ids`."""
        return wait_until(lambda: (lambda d: d if (d.get('found') == '1') == present
                                   else None)(self.dialog(*ids)),
                          timeout, 'a dialog' if present else 'the dialog to go')

    def screenshot(self, name):
        path = os.path.join(self.folder, name)  # an absolute name stays as it is
        subprocess.run([IMPORT, '-display', self.display.name, '-window', 'root', path],
                       timeout=60, check=True)
        return path

    def colours(self, name, points):
        """The colours on screen at the points, from one screenshot kept as `name`."""
        return read_pixels(self.screenshot(name), points)

    def expect_pixels(self, points, want, name='screen.shot.png', timeout=20):
        """Screenshots until the screen shows the colours `want` at the points (the last one
        kept as `name`); fails naming the colours seen."""
        seen = []
        try:
            wait_until(lambda: seen.__setitem__(slice(None), self.colours(name, points))
                       or seen == list(want), timeout, 'the colours', interval=0.2)
        except E2EError:
            raise E2EError('at %s the screen shows %s, not %s' % (points, seen, list(want)))

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

    def stroke(self, x0, y0, x1, y1):
        """A straight stroke in ten moves; waits until the caption marks the picture."""
        self.drag([(x0 + (x1 - x0) * i // 10, y0 + (y1 - y0) * i // 10) for i in range(11)])
        self.wait_title(' *  [')

    def focus(self):
        """Puts the pointer over the client area: X focus follows the pointer on a bare server."""
        info = self.wait_window()
        cx, cy, cw, ch = info['client']
        self.xdotool('mousemove', cx + cw // 2, cy + ch // 2, 'sleep', '0.2')
        return info

    def menu_item(self, steps_left, *keys):
        """Opens the File menu on the menu bar, goes `steps_left` menus to the left, then the
        keys (Return: the menu's first item)."""
        cx, cy, _, _ = self.wait_window()['client']
        self.click(cx + 20, cy - 10)
        self.key(*['Left'] * steps_left, *(keys or ['Return']))


def new_workdir(root, name):
    return tempfile.mkdtemp(prefix=name + '-', dir=root)
