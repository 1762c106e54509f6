"""The main window as a user meets it: the canvas in its colour, the menu bar, the cursors, the
icon and the version text; strokes where the pointer went, undo, redo, erasing, half size and
quick second presses (double clicks); a large canvas scrolled by dragging with Space held and by
the wheel, and zoomed by Ctrl and the wheel out and back to the very same screen; Enter that does not close, a rebound Escape, the pop-up menu and every way of
closing; and at 144 and 192 DPI, where the default canvas is taller than the screen, the first
start, the fit (R) of a window low on the screen and the stored placement keep the whole window
in the work area."""
import os
import re

from e2e_case import E2ECase, ini_values
from wine_session import INK, PAPER, wait_until, windows_path

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ITEM = re.compile(r'(POPUP|MENUITEM) (?:SEPARATOR|"([^"]*)"(?:, (\w+))?(, GRAYED)?)$')
CAPTION = re.compile(r'^Tenmark 1\.4\.4c - \d{8}_\d{6}( \*)?  \[倍率:(\d+)%  ペン:(\d+)  '
                     r'消しゴム:(\d+)\]$')
MF_GRAYED = 0x1


def script_menu():
    """The main menu as the resource script writes it: position, command id (0 for a submenu),
    greyed, text (None for a separator)."""
    def source(name):
        with open(os.path.join(TOP, 'src', 'resources', name), encoding='utf-8') as f:
            return f.read()
    ids = dict(re.findall(r'#define (\w+) (\d+)', source('resource_ids.h')))
    script = source('tenmark.rc')
    items, path = [], []
    for line in script[script.index('IDR_MAINMENU MENU'):].splitlines()[1:]:
        words = line.strip()
        if words in ('BEGIN', 'END'):
            path = path + [-1] if words == 'BEGIN' else path[:-1]
            if not path:
                return items
            continue
        path[-1] += 1
        _, text, symbol, greyed = ITEM.match(words).groups()
        items.append(('.'.join(map(str, path)), int(ids[symbol]) if symbol else 0,
                      bool(greyed), text and text.replace('\\t', '\t')))
    raise AssertionError('the menu in tenmark.rc has no end')


class MainWindowTest(E2ECase):
    def caption(self, zoom=None):
        """Modified, zoom, pen and eraser size as the caption shows them (once at `zoom`)."""
        title = self.app.wait_title('倍率:%d%%' % zoom) if zoom else self.app.title()
        match = CAPTION.match(title)
        self.assertIsNotNone(match, title)
        return (match.group(1) is not None,) + tuple(int(g) for g in match.groups()[1:])

    def quick_strokes(self, start, paths, button):
        """Strokes from the same point, each pressed 0.1 s after the one before ended: the window
        gets the second press as a double click. One xdotool run, so that starting it takes no
        time between strokes."""
        steps = ['mousemove', *start, 'sleep', '0.2']
        for path in paths:
            steps += ['mousedown', button]
            for x, y in path:
                steps += ['sleep', '0.02', 'mousemove', x, y]
            steps += ['mouseup', button, 'sleep', '0.1', 'mousemove', *start]
        self.app.xdotool(*steps)

    def test_the_window_its_resources_and_drawing_with_the_mouse(self):
        app = self.launch()
        info = app.window()
        vx, vy, vw, vh = info['view']
        self.step('the canvas in the background colour, and the menu bar')
        app.expect_pixels([(vx + 2, vy + 2), (vx + vw // 2, vy + vh // 2),
                           (vx + vw - 3, vy + vh - 3)], [PAPER] * 3)
        self.assertEqual(info['menu'], '1')
        self.assertEqual(self.caption(), (False, 100, 1, 8))

        self.step('the menu, cursors, icon and version text in the executable')
        out = app.probe('resources', windows_path(app.exe)).splitlines()
        menu = [dict(f.split('=', 1) for f in line.split()) for line in out if ' ' in line]
        res = dict(line.split('=', 1) for line in out if ' ' not in line)
        want = script_menu()
        self.assertEqual([m['item'] for m in menu], [w[0] for w in want])
        for m, (position, item_id, greyed, text) in zip(menu, want):
            self.assertEqual(m['separator'] == '1', text is None, position)
            if text is not None:  # separators are inert; their state says nothing
                self.assertEqual((bytes.fromhex(m['text_hex']).decode('utf-8'),
                                  int(m['id']) if item_id else 0,
                                  bool(int(m['state']) & MF_GRAYED)), (text, item_id, greyed))
        # Hot spot x, hot spot y, width, height, at 100, 150 and 200 %: drawn at each size, the
        # hot spot on the tip's first pixel.
        for cursor_id, tip_y in ((135, 1), (137, 1), (157, 0), (158, 0)):
            self.assertEqual(res.get('cursor%d_sizes' % cursor_id), '32,48,64')
            for size in (32, 48, 64):
                self.assertEqual(res.get('cursor%d@%d' % (cursor_id, size)),
                                 '0,%d,%d,%d' % (tip_y * size // 32, size, size))
        self.assertEqual(res.get('icon130_sizes'), '16,24,32,48,64,128,256')
        self.assertEqual(bytes.fromhex(res.get('string1_hex', '')), b'Tenmark 1.4.4c')

        self.step('a stroke shows where the pointer went and marks the caption')
        y = vy + 100
        app.drag([(vx + 100 + 20 * i, y) for i in range(11)])
        on_line = [(vx + 110, y), (vx + 200, y), (vx + 290, y)]
        beside = [(vx + 200, y - 2), (vx + 200, y + 2), (vx + 310, y)]
        app.expect_pixels(on_line + beside, [INK] * 3 + [PAPER] * 3)
        self.assertEqual(self.caption(), (True, 100, 1, 8))
        self.step('undo and redo with their keys, erasing with the right button')
        app.key('z')
        app.expect_pixels(on_line, [PAPER] * 3)
        app.key('y')
        app.expect_pixels(on_line, [INK] * 3)
        app.drag([(vx + 200, y - 20), (vx + 200, y), (vx + 200, y + 20)], button=3)
        app.expect_pixels(on_line, [INK, PAPER, INK])

        self.step('a quick second press draws like the first')
        x, y = vx + 100, vy + 200
        self.quick_strokes((x, y), [[(x + 20 * i, y) for i in range(1, 6)],
                                    [(x, y + 20 * i) for i in range(1, 6)]], button=1)
        app.expect_pixels([(x + 60, y), (x, y + 60)], [INK, INK])
        self.step('a quick second press of the right button erases like the first')
        # A cross of ink lines, then two quick right-button strokes from one point: the first
        # goes down across the horizontal line, the second right across the vertical one.
        x, y = vx + 400, vy + 250
        app.drag([(x - 60 + 20 * i, y + 40) for i in range(7)])
        app.drag([(x + 40, y - 60 + 20 * i) for i in range(7)])
        crossed, kept = [(x, y + 40), (x + 40, y)], [(x - 30, y + 40), (x + 40, y + 30)]
        app.expect_pixels(crossed + kept, [INK] * 4)
        self.quick_strokes((x, y), [[(x, y + 20 * i) for i in range(1, 5)],
                                    [(x + 20 * i, y) for i in range(1, 5)]], button=3)
        app.expect_pixels(crossed + kept, [PAPER] * 2 + [INK] * 2)

        self.step('at half size the 668-pixel canvas takes 334 pixels, the line at half its place')
        app.key('2', '2')
        self.assertEqual(self.caption(50), (True, 50, 1, 8))
        vx, vy, vw, vh = app.window()['view']
        self.assertEqual((vw, vh), (334, 334))
        app.expect_pixels([(vx + 60, vy + 50), (vx + 140, vy + 50), (vx + 100, vy + 50),
                           (vx + 100, vy + 53)], [INK, INK, PAPER, PAPER])

        self.step('Enter does not close the window; keys are handled in order, so once the '
                  'zoom key after it shows, Enter has been handled')
        app.key('Return', 'KP_Enter', '1')
        self.caption(75)
        self.assertIsNone(app.process.poll())
        self.step('the close box ends the program')
        x, y, w, _ = info['window']
        app.click(x + w - 12, y + (info['client'][1] - 20 - y) // 2)
        self.assertExitsWith(0)

    def test_a_large_canvas_scrolled_a_rebound_escape_the_popup_menu_and_leaving_unsaved(self):
        app = self.launch(ini=dict(n_canvas_x=2000, n_canvas_y=1600, n_xpos=50, n_ypos=40,
                                   n_xsize=700, n_ysize=600, dw_Key_ZoomUp=0x1B,
                                   dw_Key_NoSaveExit=0x51))
        vx, vy, _, _ = app.window()['view']
        self.step('a dot, then a drag with Space held moves the picture and draws nothing')
        app.drag([(vx + 300, vy + 300), (vx + 300, vy + 301)])
        app.expect_pixels([(vx + 300, vy + 300)], [INK])
        # Space is held a moment before the press, as a user's would be.
        app.xdotool('mousemove', vx + 400, vy + 400, 'keydown', 'space', 'sleep', '0.2')
        app.drag([(vx + 400, vy + 400)] + [(vx + 400 - 20 * i, vy + 400 - 15 * i)
                                           for i in range(1, 11)])
        app.xdotool('keyup', 'space')
        app.expect_pixels([(vx + 100, vy + 150), (vx + 300, vy + 300), (vx + 300, vy + 250)],
                          [INK, PAPER, PAPER])
        # The wheel: three lines of 10 pixels a notch, down, then right with Shift, then left
        # and right again with the tilt buttons; Ctrl zooms round the pointer.
        dot = [vx + 100, vy + 150]
        # The pointer rests over the canvas: the wheel goes to the window under it.
        app.xdotool('mousemove', vx + 200, vy + 200, 'sleep', '0.2')
        for keys, button, dx, dy in (([], 5, 0, -30), (['shift'], 5, -30, 0), ([], 6, 30, 0),
                                     ([], 7, -30, 0), ([], 4, 0, 30)):
            self.step('the wheel, button %d %s' % (button, keys))
            app.xdotool(*[a for k in keys for a in ('keydown', k)], 'click', button,
                        *[a for k in keys for a in ('keyup', k)])
            dot = [dot[0] + dx, dot[1] + dy]
            app.expect_pixels([tuple(dot), (dot[0] - dx, dot[1] - dy)], [INK, PAPER])
        self.step('Ctrl and the wheel zoom round the pointer')
        app.xdotool('mousemove', *dot, 'sleep', '0.2', 'keydown', 'ctrl', 'click', 4,
                    'keyup', 'ctrl')
        self.caption(125)
        app.expect_pixels([tuple(dot)], [INK])
        self.step('Ctrl and the wheel out past the smallest zoom and in again over the dot: '
                  'the same screen')
        vx, vy, vw, vh = app.window()['view']
        view = [(x, y) for y in range(vy, vy + vh) for x in range(vx, vx + vw)]
        before = app.colours('zoom.before.shot.png', view)
        self.assertIn(INK, before)
        # 75, 100, then 75, 50, 25 and one notch past it, then up to 125 only at the end.
        app.xdotool('keydown', 'ctrl', *[a for button, times in ((5, 2), (4, 1), (5, 4), (4, 4))
                                         for a in ('click', '--repeat', times, '--delay', 100,
                                                   button, 'sleep', 0.1)], 'keyup', 'ctrl')
        wait_until(lambda: app.colours('zoom.after.shot.png', view) == before,
                   what='the screen as it was before the zoom')
        self.step('Escape bound to a command runs it instead of closing')
        app.key('Escape')
        self.caption(150)
        self.assertIsNone(app.process.poll())
        self.step('the pop-up menu: キャンバス → 表示サイズ → 拡大')
        app.key('p', 'Down', 'Down', 'Down', 'Right', 'Right', 'Return')
        self.caption(175)
        self.step('leaving without saving writes no picture, and the bindings are kept')
        app.key('q')
        self.assertExitsWith(0)
        self.assertEqual(self.pictures(), [])
        kept = ini_values(self.ini())
        self.assertEqual((kept['dw_Key_NoSaveExit'], kept['dw_Key_ZoomUp']), ('81', '27'))

    def assertInWorkArea(self, rect, work, what):
        x, y, w, h = rect
        wx, wy, ww, wh = work
        self.assertTrue(wx <= x and wy <= y and x + w <= wx + ww and y + h <= wy + wh,
                        '%s: window %s, work area %s' % (what, rect, work))

    def test_at_144_and_192_dpi_the_window_stays_in_the_work_area(self):
        self.addCleanup(self.app.set_dpi, None)
        for dpi in (144, 192):
            self.step('the first start at %d DPI' % dpi)
            self.app.set_dpi(dpi)
            app = self.launch()
            info = app.window()
            work = info['work']
            self.assertInWorkArea(info['window'], work, 'first start')
            self.step('R fits a small window low on the screen at %d DPI' % dpi)
            app.probe('place', 100, work[1] + work[3] - 250, 300, 200)
            before = wait_until(lambda: (lambda w: w if w[3] == 200 else None)(
                app.window()['window']), what='the window moved')
            app.focus()
            app.key('r')
            after = wait_until(lambda: (lambda w: w if w != before else None)(
                app.window()['window']), what='the fitted window')
            self.assertInWorkArea(after, work, 'R')
            self.assertGreater(after[3], before[3])
            self.step('leaving by %s at %d DPI, the stored placement in the work area' % (
                'the exit menu item' if dpi == 144 else 'Alt+F4', dpi))
            if dpi == 144:
                app.menu_item(0, 'Up', 'Return')  # the File menu's last item
            else:
                app.focus()
                app.key('alt+F4')
            self.assertExitsWith(0)
            kept = ini_values(self.ini())
            self.assertInWorkArea(tuple(int(kept[k]) for k in (
                'n_xpos', 'n_ypos', 'n_xsize', 'n_ysize')), work, 'stored')
