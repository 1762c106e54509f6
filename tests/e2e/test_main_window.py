"""The main window starts with its canvas and closes through every way a user has."""
import time

from e2e_case import E2ECase

CANVAS_BACKGROUND = 'F4F1EA'  # 0xEAF1F4 as red, green, blue


class MainWindowTest(E2ECase):
    def test_window_shows_the_canvas_in_the_background_colour(self):
        app = self.launch()
        info = app.wait_window()
        shot = app.screenshot('window.png')
        vx, vy, vw, vh = info['view']
        self.assertGreater(vw, 0)
        self.assertGreater(vh, 0)
        for x, y in ((vx + 2, vy + 2), (vx + vw // 2, vy + vh // 2), (vx + vw - 3, vy + vh - 3)):
            self.assertEqual(app.pixel(shot, x, y), CANVAS_BACKGROUND, (x, y))
        self.assertEqual(info['menu'], '1')

    def test_escape_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_enter_does_not_close_the_window(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('Return', 'KP_Enter')
        time.sleep(1)
        self.assertIsNone(app.process.poll())
        self.assertEqual(app.window().get('found'), '1')
        app.key('Escape')
        self.assertExitsWith(app, 0)

    def test_close_box_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        info = app.wait_window()
        x, y, w, _ = info['window']
        client_top = info['client'][1]
        menu_height = 20
        caption_mid = y + (client_top - menu_height - y) // 2
        app.click(x + w - 12, caption_mid)
        self.assertExitsWith(app, 0)

    def test_exit_menu_item_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        info = app.wait_window()
        cx, cy, _, _ = info['client']
        app.click(cx + 20, cy - 10)  # the File menu on the menu bar
        app.key('Up', 'Return')      # its last item is the exit item
        self.assertExitsWith(app, 0)

    def test_alt_f4_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        app.key('alt+F4')
        self.assertExitsWith(app, 0)
