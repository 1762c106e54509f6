"""The pen tablet through a scripted Wintab32.dll beside the program: pressure widens the stroke,
the eraser end and the side switch erase, the side switch runs the command bound to right click
once per press, bad packets leave no ink; without a usable driver the mouse draws alone; the
mouse draws again after a dialog took a pen's press away; and whatever makes the process fail
(a fault on the window's or the driver's thread, a stack overflow, std::terminate, abort()), the
drawing is rescued into the save folder."""
import os
import re
import shutil
import subprocess

from e2e_case import E2ECase
from wine_session import CONVERT, INK, PAPER, wait_file, wait_until, windows_path

PEN_SIZE = re.compile(rb'\x83\x79\x83\x93:(\d+)')  # "ペン:N" in the caption
DOCUMENT = re.compile(rb' - (\d{8}_\d{6}) \*  \[')  # a new, modified picture's name
RIGHT_CLICK = 0x800


class TabletTest(E2ECase):
    def launch_with(self, driver, options=(), bindings=(), env=()):
        app = self.launch_configured(options, bindings, start=False)
        self.script = os.path.join(app.folder, 'packets.txt')
        if driver:
            shutil.copy(self.wintab, app.folder)
        app.env['WINEDLLOVERRIDES'] += ';wintab32=' + ('n' if driver else '')
        app.env['TENMARK_WINTAB_SCRIPT'] = windows_path(self.script)
        app.env.update(env)
        app.start()
        app.wait_window()
        app.focus()
        return app

    def hand(self, lines):
        """Hands the driver a script to play."""
        with open(self.script + '.tmp', 'w') as f:
            f.write('\n'.join(lines) + '\n')
        os.replace(self.script + '.tmp', self.script)

    def play(self, app, lines):
        """Hands the driver a script and waits until it has played it and the window has handled
        every packet (a probe's message to the window is answered after the posted packets)."""
        self.hand(lines)
        wait_until(lambda: os.path.exists(self.script + '.played'), 60, 'the played script')
        os.remove(self.script + '.played')

    def settle(self, app):
        """Waits until the window has handled every packet the driver posted: posted messages
        come before input, so once two zoom keys show in the caption the packets are behind.
        The pointer goes back over the window first: the keyboard focus follows it."""
        app.focus()
        for zoom in (125, 100):
            app.key('1' if zoom > 100 else '3')
            app.wait_title(('倍率:%d%%' % zoom).encode('cp932'))

    def ink_in_column(self, shot, x, top, bottom):
        out = subprocess.run([CONVERT, shot, '-crop', '1x%d+%d+%d' % (bottom - top, x, top),
                              '-depth', '8', 'txt:-'], capture_output=True, timeout=60,
                             check=True).stdout.decode()
        return out.count('#' + INK)

    def ink_share(self, shot, view):
        vx, vy, vw, vh = view
        out = subprocess.run([CONVERT, shot, '-crop', '%dx%d+%d+%d' % (vw, vh, vx, vy),
                              '-threshold', '50%', '-format', '%[fx:mean]', 'info:'],
                             capture_output=True, timeout=60, check=True).stdout
        return out

    def pen_size(self, app):
        return int(PEN_SIZE.search(app.title()).group(1))

    def test_pressure_eraser_end_side_switch_and_bad_packets(self):
        app = self.launch_with(True, options={'b_PenPressure': '1', 'n_PenHardness': '0',
                                              'b_IgnoreTabXY': '0'},
                               bindings={'Brush_P': RIGHT_CLICK})
        view = app.window()['view']
        vx, vy, y = view[0], view[1], view[1] + 100
        # A stroke from left to right with the pressure rising from 30 to 1020, then the eraser
        # end across it at x + 370, then the side switch held across it at x + 300.
        ramp = ['prox 1'] + ['pkt 1 1 %d %d %d' % (vx + x, y, 30 + (x - 100) * 33 // 10)
                             for x in range(100, 401, 5)] + ['pkt 1 0 %d %d 0' % (vx + 400, y)]
        eraser = ['pkt 2 1 %d %d 800' % (vx + 370, y + d) for d in range(-40, 41, 4)] + \
            ['pkt 2 0 %d %d 0' % (vx + 370, y + 40)]
        switch = ['pkt 1 3 %d %d 500' % (vx + 300, y + d) for d in range(-40, 41, 4)] + \
            ['pkt 1 0 %d %d 0' % (vx + 300, y + 40)]
        hover_press = ['pkt 1 2 %d %d 0' % (vx + 500, vy + 400 + d) for d in range(0, 20, 4)] + \
            ['pkt 1 0 %d %d 0' % (vx + 500, vy + 420), 'prox 0']
        self.play(app, ramp + eraser + switch + hover_press)
        self.settle(app)
        want = [INK, PAPER, INK, PAPER]
        self.assertEqual(app.wait_pixels([(vx + x, y) for x in (286, 300, 350, 370)], want,
                                         name='tablet.png'), want)
        shot = os.path.join(app.folder, 'tablet.png')
        thin = self.ink_in_column(shot, vx + 150, y - 30, y + 30)
        middle = self.ink_in_column(shot, vx + 330, y - 30, y + 30)
        thick = self.ink_in_column(shot, vx + 395, y - 30, y + 30)
        self.assertEqual(thin, 1)
        self.assertGreaterEqual(middle, 9)
        self.assertGreaterEqual(thick, middle + 5)
        self.assertEqual(self.pen_size(app), 3)  # one step for each press of the switch

        # Packets far outside the screen with absurd pressures and cursors, faster than they are
        # read: nothing is drawn, and the mouse still draws afterwards.
        before = self.ink_share(shot, view)
        bad = ['prox 1', 'pkt 1234 1 -50000 90000 4294967295 %d %d' % (vx + 600, vy + 600),
               'pace 0'] + ['pkt %d 1 %d -90000 4294967295' % (1000 + i, 70000 + i)
                            for i in range(300)] + ['pkt 5 0 -50000 90000 0', 'prox 0']
        self.play(app, bad)
        self.settle(app)
        after = []
        wait_until(lambda: after.append(self.ink_share(app.screenshot('bad.png'), view)) or
                   after[-1] == before, 10, 'the repaint')
        self.assertEqual(after[-1], before)
        self.drag_with_mouse(app, vx + 100, vy + 500)
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def drag_with_mouse(self, app, x, y):
        app.drag([(x + 20 * i, y) for i in range(6)], pace=0.05)
        self.assertEqual(app.wait_pixels([(x + 50, y)], [INK], name='mouse.png'), [INK])

    def test_without_a_usable_driver_the_mouse_draws(self):
        for driver, env in ((False, {}), (True, {'TENMARK_WINTAB_OPEN_FAILS': '1'})):
            app = self.launch_with(driver, env=env)
            vx, vy, _, _ = app.window()['view']
            self.drag_with_mouse(app, vx + 100, vy + 100)
            app.key('Escape')
            self.assertExitsWith(app, 0)
            app.close()

    def test_strokes_follow_the_system_cursor_and_the_frame_and_popup_menu_drain_the_queue(self):
        log = os.path.join(self.root, 'wintab.log')
        app = self.launch_with(True, env={'TENMARK_WINTAB_LOG': windows_path(log)})
        info = app.window()
        vx, vy, _, _ = info['view']
        y = vy + 300
        # b_IgnoreTabXY is set by default: the packets' own positions lie 300 pixels further left.
        self.play(app, ['prox 1'] + ['pkt 1 1 %d %d 600 %d %d' % (vx + x - 300, y, vx + x, y)
                                for x in range(400, 501, 5)] +
                  ['pkt 1 0 %d %d 0' % (vx + 200, y), 'prox 0'])
        points = [(vx + x, y) for x in (150, 450)]
        self.assertEqual(app.wait_pixels(points, [PAPER, INK], name='cursor.png'), [PAPER, INK])

        def drained():
            with open(log) as f:
                return f.read().count('overlap 1\nget 32 ')
        x, top, w, _ = info['window']
        app.click(x + w // 2, top + (info['client'][1] - 20 - top) // 2)  # the title bar
        after_title = wait_until(drained, 20, 'the queue drained for the frame')
        app.focus()
        app.key('p', 'Escape')  # the pop-up menu, bound to P, and away again
        wait_until(lambda: drained() > after_title, 20, 'the queue drained for the menu')
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_the_mouse_draws_after_the_settings_dialog_took_a_pen_press_away(self):
        app = self.launch_with(True)
        vx, vy, _, _ = app.window()['view']
        y = vy + 200
        self.play(app, ['prox 1'] + ['pkt 1 1 %d %d 600' % (vx + x, y) for x in range(100, 201, 10)])
        self.assertEqual(app.wait_pixels([(vx + 150, y)], [INK], name='pressed.png'), [INK])
        app.key('e')  # the settings dialog, while the pen still holds its press
        app.wait_dialog()
        app.key('Escape')
        app.wait_dialog(present=False)
        self.play(app, ['pkt 1 0 %d %d 0' % (vx + 200, y), 'prox 0'])
        self.drag_with_mouse(app, vx + 100, vy + 400)
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def rescues(self, ways):
        """Runs the program once for each (script, exit code) in `ways` in one Wine session: a
        stroke, then the script that makes the process fail. Each run must leave its drawing in
        the save folder as one BMP under the document's name, no temporary file, and the
        settings file as the test wrote it; then the process ends as it would have."""
        app = self.launch_with(True, options={'n_save_img': '0', 'n_save_type': '0'})
        settings = self.ini(app)
        for run, (script, code) in enumerate(ways):
            if run:
                # A driver that failed while playing leaves its script unplayed.
                if os.path.exists(self.script):
                    os.remove(self.script)
                app.start()
                app.wait_window()
                app.focus()
            vx, vy, _, _ = app.window()['view']
            self.drag_with_mouse(app, vx + 100, vy + 120)
            name = DOCUMENT.search(app.title()).group(1).decode() + '.bmp'
            self.hand(script)
            picture = os.path.join(app.folder, name)
            wait_file(picture)
            self.assertEqual([f for f in os.listdir(app.folder) if f.startswith(name[:-4])],
                             [name], script)
            self.assertEqual(self.ini(app), settings, script)
            self.assertEqual([app.pixel(picture, x, y) for x, y in ((110, 120), (150, 120),
                                                                    (190, 120), (150, 122))],
                             [INK, INK, INK, PAPER], script)
            if code is not None:
                self.assertExitsWith(app, code)
                continue
            # A fault ends as any fault ends under Wine: the debugger's crash dialog, and once
            # that is closed, the end of the process. Its exit code depends on how Wine's dialog
            # went away, so only the end itself is checked.
            wait_until(lambda: app.key('Return') or app.wait_exit(1) is not None, 60,
                       'the end of the process after %s' % script)

    def test_faults_on_any_thread_leave_the_drawing_in_the_save_folder(self):
        self.rescues([
            # Inside the driver, on the window's thread, in the middle of a window message.
            (['fault', 'prox 1', 'pkt 1 1 400 400 600'], None),
            (['crash'], None),  # on the driver's own thread, while the window's thread runs
            (['drill 3'], None),  # a stack overflow on the window's thread
        ])

    def test_terminate_and_abort_leave_the_drawing_in_the_save_folder(self):
        # The C runtime ends the process with exit code 3 after its abort handlers.
        self.rescues([(['drill 1'], 3),  # std::terminate on the window's thread
                      (['drill 2'], 3),  # abort() on the window's thread
                      (['abort'], 3)])  # abort() on the driver's own thread
