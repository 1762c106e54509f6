"""The main window closes through every way a user has, and Enter does not close it."""
from e2e_case import E2ECase

ZOOM_125 = '倍率:125%'.encode('cp932')


class MainWindowTest(E2ECase):
    def test_enter_does_not_close_the_window_and_escape_ends_the_program_with_exit_code_0(self):
        app = self.launch()
        app.wait_window()
        app.focus()
        # Keys are handled in order: once the zoom key after them shows, Enter has been handled.
        app.key('Return', 'KP_Enter', '1')
        app.wait_title(ZOOM_125)
        self.assertIsNone(app.process.poll())
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
