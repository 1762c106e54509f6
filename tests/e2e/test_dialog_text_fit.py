"""No label of the three dialogs is cut: every static text, check box, radio button, push button
and group box of the settings, shortcut-key and About dialogs, laid out from the templates in
tenmark.exe with the program's manifest, fits its control in the dialog's font at 96, 120, 144
and 192 DPI. In the running program at 96 and 144 DPI every command name and key name of the
shortcut list fits its column, the About box's link is as large as its text, and the settings
dialog works from the keyboard."""
import os

from e2e_case import E2ECase
from wine_session import read_pixels, wait_until

# Labels each dialog has at least: a run that finds fewer has measured nothing.
LEAST_LABELS = {131: 25, 139: 4, 100: 5}
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
    def measure(self, *args):
        """The text check's lines after its first, which must start with `first`."""
        helper = os.path.join(os.path.dirname(os.path.dirname(self.probe)), 'textfit',
                              'dialog_text_fit.exe')
        lines = self.app.wine(helper, *args).decode('ascii', 'replace').splitlines()
        return lines[:1], [dict(f.split('=', 1) for f in line.split()) for line in lines[1:]]

    def cut(self, texts, where):
        return ['%s "%s": needs %s px, has %s px' % (where(t), bytes.fromhex(
            t['text_hex']).decode('utf-8'), t['need'], t['room']) for t in texts if t['fits'] != '1']

    def test_every_label_fits_its_control_at_every_dpi(self):
        self.addCleanup(self.app.set_dpi, None)
        for dpi in (96, 120, 144, 192):
            self.step('the labels at %d DPI' % dpi)
            self.app.set_dpi(dpi)
            first, labels = self.measure(self.exe)
            self.assertEqual(first, ['dpi=%d' % dpi])
            for dialog, least in LEAST_LABELS.items():
                mine = [label for label in labels if label.get('dialog') == str(dialog)]
                self.assertFalse([label for label in mine if 'created' in label], dialog)
                self.assertGreaterEqual(len(mine), least, dialog)
            self.assertEqual(self.cut(labels, lambda t: 'dialog %s, control %s (%s)' % (
                t['dialog'], t['id'], t['kind'])), [])

    def focus(self):
        return self.app.facts('focus')

    def wait_focus(self, control, after):
        wait_until(lambda: self.focus()['focus'] == str(control), 10,
                   'the focus on %d after %s' % (control, after))

    def ink_rows(self, png, rect, is_ink):
        """How many pixel rows from the first to the last that hold ink inside the rectangle."""
        x, y, w, h = rect
        colours = read_pixels(png, [(x + i, y + j) for j in range(h) for i in range(w)])
        rows = [j for j in range(h) if any(is_ink(c) for c in colours[j * w:(j + 1) * w])]
        return rows[-1] - rows[0] + 1 if rows else 0

    def test_the_running_dialogs_at_96_and_144_dpi(self):
        self.addCleanup(self.app.set_dpi, None)
        for dpi in (96, 144):
            self.app.set_dpi(dpi)
            app = self.launch()
            self.step('Tab walks the settings dialog in the order of the screen at %d DPI' % dpi)
            app.focus()
            app.key('e')
            title = app.wait_dialog()['title']
            self.wait_focus(TAB_ORDER[0], 'opening')
            # Each key's effect is awaited, so the keys need no pacing.
            for control in TAB_ORDER[1:]:
                app.xdotool('key', 'Tab')
                self.wait_focus(control, 'Tab')
            self.step('each label\'s mnemonic reaches its field at %d DPI' % dpi)
            for letter, control in MNEMONICS:
                app.xdotool('key', 'alt+' + letter)
                self.wait_focus(control, 'Alt+' + letter)
            for key in ('Return', 'space'):
                self.step('%s on a colour swatch opens the colour chooser; Escape leaves it' % key)
                app.key('alt+b', key)
                wait_until(lambda: self.focus()['active'] != title, what='the colour chooser')
                app.key('Escape')
                wait_until(lambda: self.focus() == {'found': '1', 'focus': '1012',
                                                    'active': title}, what='the swatch')
            self.step('Enter elsewhere is OK')
            app.key('alt+w', 'Return')
            app.wait_dialog(present=False)

            self.step('every name of the shortcut list fits its column at %d DPI' % dpi)
            app.focus()
            app.key('k')
            app.wait_dialog()
            first, texts = self.measure('--list')
            self.assertEqual(first, ['dpi=%d rows=29' % dpi])
            self.assertEqual(len(texts), 2 * 29)
            self.assertEqual(self.cut(texts, lambda t: 'row %s, column %s' % (
                t['row'], t['column'])), [])
            app.key('Escape')
            app.wait_dialog(present=False)

            self.step('the About box\'s link, underlined, stands at least as tall as the version '
                      'line above it at %d DPI: a link drawn at the size of 96 DPI would not' % dpi)
            app.menu_item(2)
            about = app.wait_dialog(1019, 1029)
            png = app.screenshot('about.shot.png')
            link = self.ink_rows(png, about['rect1019'],
                                 lambda c: int(c[4:], 16) > 150 > int(c[:2], 16))
            version = self.ink_rows(png, about['rect1029'], lambda c: int(c[:2], 16) < 100)
            self.assertGreater(version, 9 * dpi // 144)  # the ink was found
            self.assertGreaterEqual(link, version)
            self.leave('Return', 'Escape')
