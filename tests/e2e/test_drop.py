"""Files dropped on the window: the first of them is opened, after the picture it replaces was
saved automatically; a file that is no picture changes nothing."""
import os
import time

from e2e_case import E2ECase

INK = '000000'
PAPER = 'F4F1EA'


class DropTest(E2ECase):
    def test_the_first_dropped_picture_opens_and_a_text_file_only_saves_the_old_one(self):
        app = self.launch()
        vx, vy, _, _ = app.wait_window()['view']
        app.xdotool('mousemove', vx + 20, vy + 30)
        app.xdotool('mousedown', 1)
        app.xdotool('mousemove', vx + 120, vy + 30)
        app.xdotool('mouseup', 1)
        time.sleep(0.3)
        notes = os.path.join(app.folder, 'notes.txt')
        with open(notes, 'w') as f:
            f.write('not a picture')
        app.probe('drop', 'Z:' + notes.replace('/', '\\'))
        time.sleep(1.0)
        saved = [f for f in os.listdir(app.folder) if f.endswith('.png')]
        self.assertEqual(len(saved), 1, saved)  # the automatic save of the drawing
        shot = app.screenshot('after-text.png')
        self.assertEqual(app.pixel(shot, vx + 70, vy + 30), INK)
        first, second = (os.path.join(app.folder, n) for n in ('first.PNG', 'second.png'))
        os.rename(os.path.join(app.folder, saved[0]), first)
        os.link(first, second)
        app.probe('drop', *('Z:' + p.replace('/', '\\') for p in (first, second, notes)))
        time.sleep(1.0)
        self.assertIn(b'first.PNG  [', app.title())
        self.assertNotIn(b' *', app.title())
        app.key('alt+F4')
        self.assertExitsWith(app, 0)
