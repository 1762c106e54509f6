"""Drawing with the mouse as a user does: strokes on screen where the pointer went, undo and redo
with their keys, erasing with the right button, the caption, the picture at half size, quick
second presses (double clicks) that draw and erase like any other, and scrolling a large canvas
by dragging with Space held or with the wheel."""
import re

from e2e_case import E2ECase
from wine_session import INK, PAPER
CAPTION = re.compile(rb'^Tenmark 1\.4\.4c - \d{8}_\d{6}( \*)?  \[\x94\x7b\x97\xa6:(\d+)%  '
                     rb'\x83\x79\x83\x93:(\d+)  \x8f\xc1\x82\xb5\x83\x53\x83\x80:(\d+)\]$')


class DrawingTest(E2ECase):
    def quick_strokes(self, app, start, paths, button):
        """Strokes from the same point, each pressed 0.1 s after the one before ended: the window
        gets the second press as a double click."""
        steps = ['mousemove', *start, 'sleep', '0.2']
        for path in paths:  # one xdotool run, so that starting it takes no time between strokes
            steps += ['mousedown', button]
            for x, y in path:
                steps += ['sleep', '0.02', 'mousemove', x, y]
            steps += ['mouseup', button, 'sleep', '0.1', 'mousemove', *start]
        app.xdotool(*steps)

    def caption(self, app, zoom=None):
        title = app.wait_title(b':%d%%' % zoom) if zoom else app.title()
        match = CAPTION.match(title)
        self.assertIsNotNone(match, title)
        return match.group(1) is not None, int(match.group(2)), int(match.group(3)), \
            int(match.group(4))

    def test_a_stroke_appears_where_the_pointer_went_and_undo_redo_erase_and_half_size_work(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        self.assertEqual(self.caption(app), (False, 100, 1, 8))
        y = vy + 100
        app.drag([(vx + 100 + 20 * i, y) for i in range(11)])
        on_line = [(vx + 110, y), (vx + 200, y), (vx + 290, y)]
        beside = [(vx + 200, y - 2), (vx + 200, y + 2), (vx + 310, y)]
        want = [INK] * 3 + [PAPER] * 3
        self.assertEqual(app.wait_pixels(on_line + beside, want, name='drawn.png'), want)
        self.assertEqual(self.caption(app), (True, 100, 1, 8))
        app.key('z')
        self.assertEqual(app.wait_pixels(on_line, [PAPER] * 3, name='undone.png'), [PAPER] * 3)
        app.key('y')
        self.assertEqual(app.wait_pixels(on_line, [INK] * 3, name='redone.png'), [INK] * 3)
        app.drag([(vx + 200, y - 20), (vx + 200, y), (vx + 200, y + 20)], button=3)
        want = [INK, PAPER, INK]
        self.assertEqual(app.wait_pixels(on_line, want, name='erased.png'), want)

        # At half size the 668-pixel canvas takes 334 pixels, the line at half its place.
        app.key('2', '2')
        self.assertEqual(self.caption(app, 50), (True, 50, 1, 8))
        vx, vy, vw, vh = app.window()['view']
        self.assertEqual((vw, vh), (334, 334))
        points = [(vx + 60, vy + 50), (vx + 140, vy + 50), (vx + 100, vy + 50), (vx + 100, vy + 53)]
        want = [INK, INK, PAPER, PAPER]
        self.assertEqual(app.wait_pixels(points, want, name='half.png'), want)
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_a_quick_second_press_draws_and_erases_like_the_first(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        x, y = vx + 100, vy + 100
        self.quick_strokes(app, (x, y), [[(x + 20 * i, y) for i in range(1, 6)],
                                         [(x, y + 20 * i) for i in range(1, 6)]], button=1)
        self.assertEqual(app.wait_pixels([(x + 60, y), (x, y + 60)], [INK, INK],
                                         name='left.png'), [INK, INK])

        # A cross of ink lines, then two quick right-button strokes from one point: the first
        # goes down across the horizontal line, the second right across the vertical one.
        x, y = vx + 300, vy + 300
        app.drag([(x - 60 + 20 * i, y + 40) for i in range(7)])
        app.drag([(x + 40, y - 60 + 20 * i) for i in range(7)])
        crossed = [(x, y + 40), (x + 40, y)]
        kept = [(x - 30, y + 40), (x + 40, y + 30)]
        self.assertEqual(app.wait_pixels(crossed + kept, [INK] * 4, name='cross.png'), [INK] * 4)
        self.quick_strokes(app, (x, y), [[(x, y + 20 * i) for i in range(1, 5)],
                                         [(x + 20 * i, y) for i in range(1, 5)]], button=3)
        want = [PAPER] * 2 + [INK] * 2
        self.assertEqual(app.wait_pixels(crossed + kept, want, name='right.png'), want)
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_space_held_turns_a_drag_into_scrolling_of_a_large_canvas(self):
        app = self.launch_configured(dict(n_canvas_x='2000', n_canvas_y='1600', n_xpos='50',
                                          n_ypos='40', n_xsize='700', n_ysize='600'))
        vx, vy, _, _ = app.wait_window()['view']
        app.drag([(vx + 300, vy + 300), (vx + 300, vy + 301)])
        self.assertEqual(app.wait_pixels([(vx + 300, vy + 300)], [INK], name='dot.png'), [INK])
        # Space is held a moment before the press, as a user's would be.
        app.xdotool('mousemove', vx + 400, vy + 400, 'keydown', 'space', 'sleep', '0.2')
        app.drag([(vx + 400, vy + 400)] + [(vx + 400 - 20 * i, vy + 400 - 15 * i)
                                           for i in range(1, 11)])
        app.xdotool('keyup', 'space')
        # The picture followed the pointer 200 to the left and 150 up; nothing was drawn.
        points = [(vx + 100, vy + 150), (vx + 300, vy + 300), (vx + 300, vy + 250)]
        want = [INK, PAPER, PAPER]
        self.assertEqual(app.wait_pixels(points, want, name='scrolled.png'), want)
        # The wheel: three lines of 10 pixels a notch, down, then right with Shift, then left
        # and right again with the tilt buttons; Ctrl zooms round the pointer.
        dot = [vx + 100, vy + 150]
        app.xdotool('mousemove', vx + 200, vy + 200, 'sleep', '0.2')
        for keys, button, dx, dy in (([], 5, 0, -30), (['shift'], 5, -30, 0), ([], 6, 30, 0),
                                     ([], 7, -30, 0), ([], 4, 0, 30)):
            steps = [a for k in keys for a in ('keydown', k)] + ['click', button]
            app.xdotool(*steps, *[a for k in keys for a in ('keyup', k)])
            dot = [dot[0] + dx, dot[1] + dy]
            points = [tuple(dot), (dot[0] - dx, dot[1] - dy)]
            self.assertEqual(app.wait_pixels(points, [INK, PAPER], name='wheel%d.png' % button),
                             [INK, PAPER], (keys, button))
        app.xdotool('mousemove', *dot, 'sleep', '0.2', 'keydown', 'ctrl', 'click', 4,
                    'keyup', 'ctrl')
        self.caption(app, zoom=125)
        self.assertEqual(app.wait_pixels([tuple(dot)], [INK], name='zoomed.png'), [INK])
        app.key('Escape')
        self.assertExitsWith(app, 0)
