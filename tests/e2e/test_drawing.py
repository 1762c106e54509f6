"""Drawing with the mouse as a user does: strokes on screen where the pointer went, at two
zoom levels, erasing with the right button, undo and redo with their keys, the caption, quick
second presses (double clicks) that draw and erase like any other, and scrolling a large canvas
by dragging with Space held."""
import os
import re
import time

from config_files import DEFAULT_BINDINGS, config_text, default_options, windows_folder
from e2e_case import E2ECase

INK = '000000'
PAPER = 'F4F1EA'  # the default canvas background
CAPTION = re.compile(rb'^Tenmark 1\.4\.4c - \d{8}_\d{6}( \*)?  \[\x94\x7b\x97\xa6:(\d+)%  '
                     rb'\x83\x79\x83\x93:(\d+)  \x8f\xc1\x82\xb5\x83\x53\x83\x80:(\d+)\]$')


class DrawingTest(E2ECase):
    def drag(self, app, points, button=1):
        app.xdotool('mousemove', *points[0])
        time.sleep(0.2)
        app.xdotool('mousedown', button)
        for x, y in points[1:]:
            time.sleep(0.05)
            app.xdotool('mousemove', x, y)
        time.sleep(0.1)
        app.xdotool('mouseup', button)
        time.sleep(0.5)

    def quick_strokes(self, app, start, paths, button):
        """Strokes from the same point, each pressed 0.1 s after the one before ended: the window
        gets the second press as a double click."""
        app.xdotool('mousemove', *start)
        time.sleep(0.2)
        steps = []  # one xdotool run, so that starting it takes no time between the strokes
        for path in paths:
            steps += ['mousedown', button]
            for x, y in path:
                steps += ['sleep', '0.02', 'mousemove', x, y]
            steps += ['mouseup', button, 'sleep', '0.1', 'mousemove', *start]
        app.xdotool(*steps)
        time.sleep(0.5)

    def colours(self, app, name, points):
        shot = app.screenshot(name)
        return [app.pixel(shot, x, y) for x, y in points]

    def caption(self, app):
        match = CAPTION.match(app.title())
        self.assertIsNotNone(match, app.title())
        return match.group(1) is not None, int(match.group(2)), int(match.group(3)), \
            int(match.group(4))

    def test_a_stroke_appears_where_the_pointer_went_and_undo_redo_and_erase_work(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        self.assertEqual(self.caption(app), (False, 100, 1, 8))
        y = vy + 100
        self.drag(app, [(vx + 100 + 20 * i, y) for i in range(11)])
        on_line = [(vx + 110, y), (vx + 200, y), (vx + 290, y)]
        beside = [(vx + 200, y - 2), (vx + 200, y + 2), (vx + 310, y)]
        self.assertEqual(self.colours(app, 'drawn.png', on_line + beside),
                         [INK] * 3 + [PAPER] * 3)
        self.assertEqual(self.caption(app), (True, 100, 1, 8))
        app.key('z')
        self.assertEqual(self.colours(app, 'undone.png', on_line), [PAPER] * 3)
        app.key('y')
        self.assertEqual(self.colours(app, 'redone.png', on_line), [INK] * 3)
        self.drag(app, [(vx + 200, y - 20), (vx + 200, y), (vx + 200, y + 20)], button=3)
        self.assertEqual(self.colours(app, 'erased.png', on_line),
                         [INK, PAPER, INK])
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_a_quick_second_press_draws_and_erases_like_the_first(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        x, y = vx + 100, vy + 100
        self.quick_strokes(app, (x, y), [[(x + 20 * i, y) for i in range(1, 6)],
                                         [(x, y + 20 * i) for i in range(1, 6)]], button=1)
        self.assertEqual(self.colours(app, 'left.png', [(x + 60, y), (x, y + 60)]), [INK, INK])

        # A cross of ink lines, then two quick right-button strokes from one point: the first
        # goes down across the horizontal line, the second right across the vertical one.
        x, y = vx + 300, vy + 300
        self.drag(app, [(x - 60 + 20 * i, y + 40) for i in range(7)])
        self.drag(app, [(x + 40, y - 60 + 20 * i) for i in range(7)])
        crossed = [(x, y + 40), (x + 40, y)]
        kept = [(x - 30, y + 40), (x + 40, y + 30)]
        self.assertEqual(self.colours(app, 'cross.png', crossed + kept), [INK] * 4)
        self.quick_strokes(app, (x, y), [[(x, y + 20 * i) for i in range(1, 5)],
                                         [(x + 20 * i, y) for i in range(1, 5)]], button=3)
        self.assertEqual(self.colours(app, 'right.png', crossed + kept), [PAPER] * 2 + [INK] * 2)
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_strokes_at_half_size_land_on_the_canvas_points_under_the_pointer(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('2', '2')
        self.assertEqual(self.caption(app), (False, 50, 1, 8))
        vx, vy, vw, vh = app.window()['view']
        self.assertEqual((vw, vh), (334, 334))  # the 668-pixel canvas at half size
        self.drag(app, [(vx + 50 + 10 * i, vy + 40) for i in range(11)])
        self.assertEqual(self.colours(app, 'half.png', [(vx + 100, vy + 40), (vx + 100, vy + 45)]),
                         [INK, PAPER])
        app.key('3')
        self.assertEqual(self.caption(app), (True, 100, 1, 8))
        vx, vy, _, _ = app.window()['view']
        self.assertEqual(self.colours(app, 'normal.png', [(vx + 200, vy + 80), (vx + 200, vy + 90)]),
                         [INK, PAPER])
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_space_held_turns_a_drag_into_scrolling_of_a_large_canvas(self):
        app = self.launch(start=False)
        options = dict(default_options(app.folder))
        options.update(n_canvas_x='2000', n_canvas_y='1600', n_xpos='50', n_ypos='40',
                       n_xsize='700', n_ysize='600')
        with open(os.path.join(app.folder, 'tenmark.ini'), 'wb') as f:
            f.write(config_text(list(options.items()), DEFAULT_BINDINGS))
        app.start()
        vx, vy, _, _ = app.wait_window()['view']
        self.drag(app, [(vx + 300, vy + 300), (vx + 300, vy + 301)])
        self.assertEqual(self.colours(app, 'dot.png', [(vx + 300, vy + 300)]), [INK])
        app.xdotool('mousemove', vx + 400, vy + 400)
        app.xdotool('keydown', 'space')
        time.sleep(0.3)
        self.drag(app, [(vx + 400, vy + 400)] + [(vx + 400 - 20 * i, vy + 400 - 15 * i)
                                                 for i in range(1, 11)])
        app.xdotool('keyup', 'space')
        time.sleep(0.3)
        # The picture followed the pointer 200 to the left and 150 up; nothing was drawn.
        self.assertEqual(self.colours(app, 'scrolled.png', [(vx + 100, vy + 150),
                                                            (vx + 300, vy + 300),
                                                            (vx + 300, vy + 250)]),
                         [INK, PAPER, PAPER])
        app.key('Escape')
        self.assertExitsWith(app, 0)
