"""The pen tablet through a scripted Wintab32.dll beside the program: pressure widens the stroke,
the eraser end and the side switch erase, the side switch runs the command bound to right click
once per press, bad packets leave no ink; the same through a stand-in for Windows Ink's pointer
messages, whose frames keep every point of their history; without a usable driver the mouse draws alone; strokes
follow the system cursor, the frame and the pop-up menu drain the packet queue, and the mouse
draws again after a dialog took a pen's press away; a move to a monitor of another scale (the
driver sends the message Wine never sends) keeps the canvas 1:1 and remakes the cursors and the
About box's link at the new size; keys reach the window and the shortcut list past the IME; and
whatever makes the process fail (a fault on the window's or the driver's thread, also while the
window's thread allocates from the process heap, a stack overflow, std::terminate, abort()), the
drawing is rescued into the save folder."""
import ctypes
import os
import re
import shutil
import subprocess

from e2e_case import E2ECase
from wine_session import CONVERT, INK, PAPER, read_pixels, wait_file, wait_until, windows_path

DOCUMENT = re.compile(r' - (\d{8}_\d{6}) \*  \[')  # a new, modified picture's name
RIGHT_CLICK = 0x800


class CursorImage(ctypes.Structure):
    _fields_ = [('x', ctypes.c_short), ('y', ctypes.c_short), ('width', ctypes.c_ushort),
                ('height', ctypes.c_ushort), ('xhot', ctypes.c_ushort), ('yhot', ctypes.c_ushort),
                ('serial', ctypes.c_ulong), ('pixels', ctypes.c_void_p), ('atom', ctypes.c_ulong),
                ('name', ctypes.c_char_p)]


def cursor_on(display):
    """Width, height and hot spot of the cursor the X server shows."""
    x11, xfixes = ctypes.CDLL('libX11.so.6'), ctypes.CDLL('libXfixes.so.3')
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    try:
        image = xfixes.XFixesGetCursorImage(connection).contents
        return image.width, image.height, image.xhot, image.yhot
    finally:
        x11.XCloseDisplay(connection)


class TabletTest(E2ECase):
    def launch_with(self, driver=True, ini=None, env=None, ink=False):
        """Starts the program with the scripted driver beside it (or none), which plays the
        scripts handed to it; with `ink`, the driver stands in for the pointer functions too."""
        folder = self.folder()
        self.script = os.path.join(folder, 'packets.txt')
        if driver:
            shutil.copy(self.wintab, folder)
        env = dict(env or {}, TENMARK_WINTAB_SCRIPT=windows_path(self.script),
                   WINEDLLOVERRIDES=self.app.env['WINEDLLOVERRIDES'] + ';wintab32=' +
                   ('n' if driver else ''))
        if ink:
            env['TENMARK_POINTER_STANDIN'] = windows_path(os.path.join(folder, 'Wintab32.dll'))
        app = self.launch(ini, folder=folder, env=env)
        app.focus()
        return app

    def hand(self, lines):
        """Hands the driver a script to play."""
        with open(self.script + '.tmp', 'w') as f:
            f.write('\n'.join(lines) + '\n')
        os.replace(self.script + '.tmp', self.script)

    def play(self, lines):
        """Hands the driver a script and waits until it has played it."""
        self.hand(lines)
        wait_until(lambda: os.path.exists(self.script + '.played'), 60, 'the played script')
        os.remove(self.script + '.played')

    def settle(self):
        """Waits until the window has handled every packet the driver posted: posted messages
        come before input, so once two zoom keys show in the caption the packets are behind.
        The pointer goes back over the window first: the keyboard focus follows it."""
        self.app.focus()
        for key, zoom in (('1', 125), ('3', 100)):
            self.app.key(key)
            self.app.wait_title('倍率:%d%%' % zoom)

    def ink(self, shot, crop):
        """The share of ink in a part of a screenshot."""
        return subprocess.run([CONVERT, shot, '-crop', '%dx%d+%d+%d' % crop, '-threshold', '50%',
                               '-format', '%[fx:1-mean]', 'info:'], capture_output=True,
                              timeout=60, check=True).stdout

    def assert_widens(self, shot, vx, y):
        """The ramp's stroke, a pixel wide at first, at least 9 wide a little after the middle and
        5 more towards the end."""
        thin, middle, thick = (len([c for c in read_pixels(shot, [(vx + x, y + d) for d in range(
            -30, 30)]) if c == INK]) for x in (150, 330, 395))
        self.assertEqual(thin, 1)
        self.assertGreaterEqual(middle, 9)
        self.assertGreaterEqual(thick, middle + 5)

    def mouse_draws(self, x, y):
        self.app.drag([(x + 20 * i, y) for i in range(6)], pace=0.05)
        self.app.expect_pixels([(x + 50, y)], [INK])

    def test_pressure_eraser_end_side_switch_and_bad_packets(self):
        app = self.launch_with(ini=dict(b_PenPressure=1, n_PenHardness=0, b_IgnoreTabXY=0,
                                        dw_Key_Brush_P=RIGHT_CLICK))
        view = app.window()['view']
        vx, vy, y = view[0], view[1], view[1] + 100
        self.step('a stroke with the pressure rising, the eraser end across it, the side switch '
                  'held across it, and a press while hovering')
        ramp = ['prox 1'] + ['pkt 1 1 %d %d %d' % (vx + x, y, 30 + (x - 100) * 33 // 10)
                             for x in range(100, 401, 5)] + ['pkt 1 0 %d %d 0' % (vx + 400, y)]
        eraser = ['pkt 2 1 %d %d 800' % (vx + 370, y + d) for d in range(-40, 41, 4)] + \
            ['pkt 2 0 %d %d 0' % (vx + 370, y + 40)]
        switch = ['pkt 1 3 %d %d 500' % (vx + 300, y + d) for d in range(-40, 41, 4)] + \
            ['pkt 1 0 %d %d 0' % (vx + 300, y + 40)]
        hover_press = ['pkt 1 2 %d %d 0' % (vx + 500, vy + 400 + d) for d in range(0, 20, 4)] + \
            ['pkt 1 0 %d %d 0' % (vx + 500, vy + 420), 'prox 0']
        self.play(ramp + eraser + switch + hover_press)
        self.settle()
        app.expect_pixels([(vx + x, y) for x in (286, 300, 350, 370)], [INK, PAPER, INK, PAPER],
                          name='tablet.shot.png')
        self.step('the stroke widens with the pressure')
        shot = os.path.join(app.folder, 'tablet.shot.png')
        self.assert_widens(shot, vx, y)
        self.step('the side switch ran the right-click command once per press')
        self.assertIn('ペン:3', app.title())

        self.step('packets far outside the screen with absurd pressures and cursors, faster '
                  'than they are read, draw nothing')
        crop = (view[2], view[3], vx, vy)
        before = self.ink(shot, crop)
        self.play(['prox 1', 'pkt 1234 1 -50000 90000 4294967295 %d %d' % (vx + 600, vy + 600),
                   'pace 0'] + ['pkt %d 1 %d -90000 4294967295' % (1000 + i, 70000 + i)
                                for i in range(300)] + ['pkt 5 0 -50000 90000 0', 'prox 0'])
        self.settle()
        wait_until(lambda: self.ink(app.screenshot('bad.shot.png'), crop) == before, 10,
                   'the picture as it was')
        self.step('the mouse still draws')
        self.mouse_draws(vx + 100, vy + 500)
        self.leave()

    def test_windows_ink_pen_through_the_stand_in(self):
        log = os.path.join(self.folder(), 'wintab.log')
        app = self.launch_with(
            ini=dict(b_PenPressure=1, n_PenHardness=0, b_IgnoreTabXY=0, n_tablet_input=2,
                     dw_Key_Brush_P=RIGHT_CLICK),
            env={'TENMARK_WINTAB_LOG': windows_path(log)}, ink=True)
        vx, vy, _, _ = app.window()['view']
        y = vy + 100
        self.step('a pressure stroke, the eraser end across it, a frame of eight points in a '
                  'zigzag, and the barrel pressed while hovering')
        ramp = ['pen hover 0 %d %d -1' % (vx + 100, y)] + [
            'pen %s 0 %d %d %d' % ('down' if x == 100 else 'drag', vx + x, y,
                                   30 + (x - 100) * 33 // 10) for x in range(100, 401, 5)] + \
            ['pen up 0 %d %d -1' % (vx + 400, y)]
        eraser = ['pen hover 2 %d %d -1' % (vx + 370, y - 40)] + [
            'pen %s 2 %d %d 800' % ('down' if d == -40 else 'drag', vx + 370, y + d)
            for d in range(-40, 41, 4)] + ['pen up 2 %d %d -1' % (vx + 370, y + 40)]
        zag = [(vx + 100 + 20 * i, vy + 420 - 30 * (i % 2)) for i in range(9)]
        history = ['pen down 0 %d %d 800' % zag[0], 'pen drag 0 %d %d 800 ' % zag[-1] +
                   ' '.join('%d %d' % p for p in reversed(zag[1:-1])), 'pen up 0 %d %d -1' % zag[-1]]
        barrel = ['pen hover %d %d %d -1' % (b, vx + 500, vy + 300) for b in (0, 1, 1, 0)] + \
            ['pen leave 0 %d %d -1' % (vx + 500, vy + 300), 'gestures']
        self.play(ramp + eraser + history + barrel)
        self.settle()
        on_zag = [(round(a[0] + (b[0] - a[0]) * t), round(a[1] + (b[1] - a[1]) * t))
                  for a, b in zip(zag, zag[1:]) for t in (0, 0.5)]
        app.expect_pixels([(vx + x, y) for x in (350, 370)] + on_zag,
                          [INK, PAPER] + [INK] * len(on_zag), name='ink.shot.png')
        self.step('the stroke widens with the pressure')
        self.assert_widens(os.path.join(app.folder, 'ink.shot.png'), vx, y)
        self.step('the barrel ran the right-click command once; the pen gestures and feedback '
                  'are off')
        self.assertIn('ペン:2', app.title())
        with open(log) as f:
            lines = f.read().splitlines()
        self.assertIn('gestures 10019 10019', lines)
        self.assertEqual(sorted(set(line for line in lines if line.startswith('feedback'))),
                         ['feedback %d' % kind for kind in range(2, 7)])
        self.leave()

    def test_without_a_usable_driver_the_mouse_draws(self):
        for driver, env, ini in ((False, {}, None), (True, {'TENMARK_WINTAB_OPEN_FAILS': '1'}, None),
                                 (False, {}, {'n_tablet_input': 2})):
            self.step('with %s%s' % ('a driver that cannot open' if driver else 'no driver',
                                     ', Windows Ink only' if ini else ''))
            app = self.launch_with(driver, ini=ini, env=env)
            vx, vy, _, _ = app.window()['view']
            self.mouse_draws(vx + 100, vy + 100)
            self.leave()

    def test_the_system_cursor_the_queue_drained_and_a_pen_press_taken_by_a_dialog(self):
        log = os.path.join(self.folder(), 'wintab.log')
        app = self.launch_with(env={'TENMARK_WINTAB_LOG': windows_path(log)})
        info = app.window()
        vx, vy, _, _ = info['view']
        self.step('strokes follow the system cursor (b_IgnoreTabXY is set by default): the '
                  'packets\' own positions lie 300 pixels further left')
        y = vy + 300
        self.play(['prox 1'] + ['pkt 1 1 %d %d 600 %d %d' % (vx + x - 300, y, vx + x, y)
                                for x in range(400, 501, 5)] +
                  ['pkt 1 0 %d %d 0' % (vx + 200, y), 'prox 0'])
        app.expect_pixels([(vx + 150, y), (vx + 450, y)], [PAPER, INK])

        def drained():
            with open(log) as f:
                return f.read().count('overlap 1\nget 32 ')
        self.step('the frame drains the queue before it takes over')
        x, top, w, _ = info['window']
        app.click(x + w // 2, top + (info['client'][1] - 20 - top) // 2)  # the title bar
        after_title = wait_until(drained, 20, 'the queue drained for the frame')
        self.step('the pop-up menu drains the queue before it takes over')
        app.focus()
        app.key('p', 'Escape')  # the pop-up menu, bound to P, and away again
        wait_until(lambda: drained() > after_title, 20, 'the queue drained for the menu')

        self.step('the mouse draws after the settings dialog took a pen press away')
        y = vy + 200
        self.play(['prox 1'] + ['pkt 1 1 %d %d 600' % (vx + x, y) for x in range(100, 201, 10)])
        app.expect_pixels([(vx + 150, y)], [INK])
        app.key('e')  # the settings dialog, while the pen still holds its press
        app.wait_dialog()
        app.key('Escape')
        app.wait_dialog(present=False)
        self.play(['pkt 1 0 %d %d 0' % (vx + 200, y), 'prox 0'])
        self.mouse_draws(vx + 100, vy + 400)
        self.leave()

    def test_a_new_display_scale_keeps_the_canvas_and_remakes_the_cursors_and_the_link(self):
        log = os.path.join(self.folder('scale'), 'wintab.log')
        app = self.launch_with(env=dict(TENMARK_WINTAB_LOG=windows_path(log)))

        def over_canvas(dx, dy):
            vx, vy, _, _ = app.window()['view']
            # The pointer rests there, so the window has set its cursor before it is read.
            app.xdotool('mousemove', vx + dx, vy + dy, 'sleep', '0.2')
            return vx + dx, vy + dy

        def pen_cursor(size):
            wait_until(lambda: cursor_on(app.display.name) == (size, size, 0, 1), 20,
                       'the %d-pixel pen' % size)

        title = app.title()
        over_canvas(50, 50)
        pen_cursor(32)
        self.step('the window at the suggested rectangle, the zoom as it was, the pen at 48 '
                  'pixels with its hot spot on the tip, a stroke 1:1 under the pointer')
        self.play(['dpi 144 100 20 740 560'])
        self.assertEqual((app.window()['window'], app.title()), ((100, 20, 640, 540), title))
        x, y = over_canvas(60, 70)
        pen_cursor(48)
        app.drag([(x, y), (x + 40, y)])
        # x + 40 is left out: whether a line inks its last point is the stroke's rule.
        app.expect_pixels([(x, y), (x + 39, y), (x + 41, y), (x, y + 1)], [INK, INK, PAPER, PAPER])
        self.step('the About link, opened at the scale Wine gives every window, is made anew: '
                  '12 pixels at 96 DPI')
        cx, cy, _, _ = app.window()['client']
        app.click(cx + 20, cy - 10)
        app.key('Left', 'Left', 'Return')
        app.wait_dialog(1019)
        self.play(['font 1019', 'dpi 192 300 100 900 500', 'font 1019'])
        with open(log) as f:
            self.assertEqual([line for line in f.read().splitlines() if line.startswith('font')],
                             ['font 1019 12', 'font 1019 24'])
        app.key('Return')
        app.wait_dialog(present=False)
        self.step('the window, the view and the shortcut list have no input method context, so '
                  'keys arrive as keys with the IME on; the settings dialog\'s edit boxes keep '
                  'theirs')
        self.play(['imc 0', 'imc 1030'])
        for key, control in (('k', 1039), ('e', 1013)):
            app.key(key)
            app.wait_dialog(control)
            self.play(['imc %d' % control])
            app.key('Escape')
            app.wait_dialog(present=False)
        with open(log) as f:
            self.assertEqual([line for line in f.read().splitlines() if line.startswith('imc')],
                             ['imc 0 0', 'imc 1030 0', 'imc 1039 0', 'imc 1013 1'])

    def test_whatever_makes_the_process_fail_the_drawing_is_rescued(self):
        """Each way the process fails, in a run of its own: a stroke, then the script that makes
        the process fail. The drawing is left in the save folder as one BMP under the document's
        name, no temporary file, and the settings file as the test wrote it; then the process
        ends as it would have."""
        # Exit code None: a fault ends as any fault ends under Wine, with the debugger's crash
        # dialog and the end of the process once that is closed; its exit code depends on how
        # Wine's dialog went away, so only the end itself is checked. The C runtime ends the
        # process with exit code 3 after its abort handlers.
        for what, script, code in (
                ('a fault inside the driver, on the window\'s thread, in a window message',
                 ['fault', 'prox 1', 'pkt 1 1 400 400 600'], None),
                ('a fault on the driver\'s own thread', ['crash'], None),
                ('a stack overflow on the window\'s thread', ['drill 3'], None),
                ('std::terminate on the window\'s thread', ['drill 1'], 3),
                ('abort() on the window\'s thread', ['drill 2'], 3),
                ('abort() on the driver\'s own thread', ['abort'], 3),
                # The window's thread is suspended inside an allocation most times, not every
                # time: three runs.
                *[('a fault on another thread while the window\'s thread allocates from the '
                   'process heap, try %d' % n, ['drill 4'], None) for n in (1, 2, 3)]):
            self.step(what)
            app = self.launch_with(ini=dict(n_save_img=0, n_save_type=0))
            settings = self.ini()
            vx, vy, _, _ = app.window()['view']
            self.mouse_draws(vx + 100, vy + 120)
            name = DOCUMENT.search(app.title()).group(1) + '.bmp'
            self.hand(script)
            picture = os.path.join(app.folder, name)
            wait_file(picture)
            self.assertEqual([f for f in os.listdir(app.folder) if f.startswith(name[:-4])],
                             [name])
            self.assertEqual(self.ini(), settings)
            self.assertEqual(read_pixels(picture, [(110, 120), (150, 120), (190, 120),
                                                   (150, 122)]), [INK, INK, INK, PAPER])
            if code is None:
                wait_until(lambda: app.key('Return') or app.wait_exit(1) is not None, 60,
                           'the end of the process')
            else:
                self.assertExitsWith(code)
