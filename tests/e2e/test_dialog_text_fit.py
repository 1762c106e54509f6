"""No label of the three dialogs is cut: every static text, check box, radio button, push button
and group box of the settings, shortcut-key and About dialogs, laid out from the templates in
tenmark.exe with the program's manifest, fits its control in the dialog's font at 96, 120, 144
and 192 DPI; in the running program at 144 DPI, every command name and key name of the shortcut
list fits its column and the About box's link is as large as its text; and the settings dialog
works from the keyboard at 96 and 144 DPI."""
import os
import subprocess

from e2e_case import E2ECase
from wine_session import Display, base_env, read_pixels, wait_until

DIALOGS = {131: 'settings', 139: 'shortcut keys', 100: 'About'}
# Labels each dialog has at least: a run that finds fewer has measured nothing.
LEAST_LABELS = {131: 25, 139: 4, 100: 5}
# 100 %, 125 %, 150 % and 200 %.
DPIS = (96, 120, 144, 192)
# The settings dialog's Tab order: the canvas width and height, the background and pen colours;
# save on exit and the format, the client colour's choice (at its checked button: an own colour,
# by default) and swatch; pen and eraser size, pressure (the hardness is off without it);
# translucency and its amount; the folder and its button; the tablet's XY; OK, Cancel, and round
# again.
TAB_ORDER = [1001, 1002, 1012, 1011, 1015, 1018, 1038, 1040, 1023, 1024, 1031, 1021, 1020, 1013,
             1014, 1044, 1, 2, 1001]
# Each label's mnemonic and the field it reaches.
MNEMONICS = [('w', 1001), ('h', 1002), ('b', 1012), ('p', 1011), ('f', 1018), ('s', 1023),
             ('e', 1024), ('a', 1020), ('o', 1013)]


class DialogTextFitTest(E2ECase):
    def setUp(self):
        super().setUp()
        self.helper = os.path.join(os.path.dirname(os.path.dirname(self.probe)), 'textfit',
                                   'dialog_text_fit.exe')
        self.env = base_env(self.prefix)

    def wine(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, timeout=120,
                              check=False)

    def parse(self, out, first):
        lines = out.stdout.decode('ascii', 'replace').splitlines()
        self.assertTrue(lines and lines[0].startswith(first), lines[:1])
        return [dict(field.split('=', 1) for field in line.split()) for line in lines[1:]]

    def measure(self, dpi):
        # On a loaded machine a Wine start now and then still reads the LogPixels it had before:
        # such a run measured another DPI and is made again.
        for _ in range(3):
            self.set_dpi(dpi)
            try:
                with Display() as display:
                    self.env['DISPLAY'] = display.name
                    out = self.wine('wine', self.helper, self.exe)
                    self.wine('wineserver', '-k')
                    self.wine('wineserver', '-w')
            finally:
                self.set_dpi(None)
            if out.stdout.startswith(b'dpi=%d' % dpi):
                break
        return self.parse(out, 'dpi=%d' % dpi)

    def test_every_label_fits_its_control_at_every_dpi(self):
        for dpi in DPIS:
            labels = self.measure(dpi)
            cut = []
            for dialog, name in DIALOGS.items():
                mine = [label for label in labels if label.get('dialog') == str(dialog)]
                self.assertFalse([label for label in mine if 'created' in label],
                                 'the %s dialog could not be made at %d DPI' % (name, dpi))
                self.assertGreaterEqual(len(mine), LEAST_LABELS[dialog], name)
                cut += ['%s dialog, control %s (%s "%s"): needs %s px, has %s px' % (
                    name, label['id'], label['kind'],
                    bytes.fromhex(label['text_hex']).decode('utf-8'), label['need'],
                    label['room']) for label in mine if label['fits'] != '1']
            self.assertEqual(cut, [], 'labels cut at %d DPI' % dpi)

    def ink_rows(self, png, rect, is_ink):
        """How many pixel rows from the first to the last that hold ink inside the rectangle."""
        x, y, w, h = rect
        points = [(x + i, y + j) for j in range(h) for i in range(w)]
        colours = read_pixels(png, points)
        rows = [j for j in range(h) if any(is_ink(c) for c in colours[j * w:(j + 1) * w])]
        return rows[-1] - rows[0] + 1 if rows else 0

    def test_the_shortcut_list_and_the_about_link_at_144_dpi(self):
        """Every name of the shortcut list shows whole; the About box's link, underlined, stands
        at least as tall as the version line above it (its glyphs and its underline against
        glyphs without descenders): a link drawn at the size of 96 DPI would not."""
        with self.dpi(144):
            app = self.launch()
            app.wait_window()
            app.focus()
            app.key('k')
            app.wait_dialog()
            out = subprocess.run(['wine', self.helper, '--list'], env=app.env, capture_output=True,
                                 timeout=120, check=False)
            app.key('Escape')
            app.wait_dialog(present=False)
            cx, cy, _, _ = app.window()['client']
            app.click(cx + 20, cy - 10)
            app.key('Left', 'Left', 'Return')
            about = app.wait_dialog(1019, 1029)
            png = app.screenshot('about.png')
        texts = self.parse(out, 'dpi=144 rows=29')
        self.assertEqual(len(texts), 2 * 29)
        cut = ['row %s, column %s "%s": needs %s px, has %s px' % (
            t['row'], t['column'], bytes.fromhex(t['text_hex']).decode('utf-8'), t['need'],
            t['room']) for t in texts if t['fits'] != '1']
        self.assertEqual(cut, [])
        link = self.ink_rows(png, about['rect1019'], lambda c: int(c[4:], 16) > 150 > int(c[:2], 16))
        version = self.ink_rows(png, about['rect1029'], lambda c: int(c[:2], 16) < 100)
        self.assertGreater(version, 9)
        self.assertGreaterEqual(link, version)

    def test_the_settings_dialog_from_the_keyboard_at_96_and_144_dpi(self):
        """Tab walks the fields in the order of the screen, OK and Cancel last; each label's
        mnemonic reaches its field; a colour swatch takes the focus and opens the colour chooser
        with Enter or Space (Escape leaves it); Enter elsewhere is OK."""
        for dpi in (96, 144):
            with self.dpi(dpi):
                app = self.launch()
                app.wait_window()
                app.focus()
                app.key('e')
                title = app.wait_dialog()['title_hex']
                walked = [self.focused(app)]
                for _ in TAB_ORDER[1:]:
                    app.key('Tab')
                    walked.append(self.focused(app))
                self.assertEqual(walked, TAB_ORDER, dpi)
                for letter, control in MNEMONICS:
                    app.key('alt+' + letter)
                    self.assertEqual((letter, self.focused(app)), (letter, control), dpi)
                for key in ('Return', 'space'):
                    app.key('alt+b', key)
                    wait_until(lambda: self.focus_facts(app)['active_hex'] != title,
                               what='the colour chooser')
                    app.key('Escape')
                    wait_until(lambda: self.focus_facts(app) == {
                        'found': '1', 'focus': '1012', 'active_hex': title}, what='the swatch')
                app.key('alt+w', 'Return')
                app.wait_dialog(present=False)

    def focus_facts(self, app):
        return app.facts('focus')

    def focused(self, app):
        return int(self.focus_facts(app)['focus'])
