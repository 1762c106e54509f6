"""The download as a user gets it (made by scripts/package.sh): one folder in the zip with the
program and its three texts, the checksum beside it, the executable's version resource and
manifest, and the program unpacked into a folder whose path has Japanese characters and a space:
it starts from there, keeps tenmark.ini and its automatic save beside itself, and opens a
picture from a folder with a Japanese name. (That the executable carries no time stamp and is
the same from any folder is the package stage's check.)

The zip is TENMARK_PACKAGE, or the one in BUILD/dist beside BUILD/mingw/tenmark.exe, where the
test command's package stage leaves it."""
import glob
import hashlib
import os
import re
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET
import zipfile

from e2e_case import E2ECase, ini_values
from wine_session import INK, convert, read_pixels, wait_until, windows_path

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(TOP, 'scripts'))
from pe_resources import RT_MANIFEST, RT_VERSION, PEFile, find, version_info  # noqa: E402

JAPANESE, UNICODE = 0x0411, 1200


def texts():
    with open(os.path.join(TOP, 'src', 'resources', 'texts.txt'), encoding='utf-8') as f:
        return dict(line.rstrip('\n').split('\t', 1) for line in f
                    if '\t' in line and not line.startswith('#'))


def dpkg_version(package):
    return subprocess.run(['dpkg-query', '-W', '-f=${Version}', package], capture_output=True,
                          text=True, check=True).stdout


def key_name(code):
    """The name the program gives the default bindings (letters, digits, Space, Ctrl)."""
    key = code & 0xFF
    parts = [{0x20: 'SPACE'}.get(key, chr(key))] if key else []
    return '+'.join([m for flag, m in ((0x2000, 'Alt'), (0x4000, 'Shift'), (0x8000, 'Ctrl'))
                     if code & flag] + parts)


class PackageTest(E2ECase):
    @classmethod
    def setUpClass(cls):
        cls.zip = os.environ.get('TENMARK_PACKAGE')
        if not cls.zip:
            found = glob.glob(os.path.join(os.path.dirname(os.path.dirname(cls.exe)), 'dist',
                                           'tenmark-*-win64.zip'))
            cls.zip = found[0] if len(found) == 1 else None
        if not cls.zip:
            raise unittest.SkipTest('no package: run scripts/package.sh and set TENMARK_PACKAGE')
        # "1.4.4c" and "1.4.4.3" from the version text "Tenmark 1.4.4c".
        cls.label = texts()['VersionText'].split()[-1]
        numbers, letter = re.fullmatch(r'(\d+\.\d+\.\d+)([a-z]?)', cls.label).groups()
        cls.number = '%s.%d' % (numbers, ord(letter) - ord('a') + 1 if letter else 0)
        cls.inside = 'tenmark-%s' % cls.label  # the zip's one folder
        super().setUpClass()

    def member(self, name):
        with zipfile.ZipFile(self.zip) as z:
            return z.read('%s/%s' % (self.inside, name))

    def text(self, name):
        data = self.member(name)
        self.assertNotIn(b'\n', data.replace(b'\r\n', b''), '%s has bare line feeds' % name)
        return data.decode('utf-8')

    def test_the_zip_its_executable_and_its_texts(self):
        self.step('one folder with the program and its three texts, and the checksum beside it')
        self.assertEqual(os.path.basename(self.zip), 'tenmark-%s-win64.zip' % self.label)
        with zipfile.ZipFile(self.zip) as z:
            entries = z.infolist()
        self.assertEqual([e.filename for e in entries], [self.inside + '/'] + [
            '%s/%s' % (self.inside, name)
            for name in ('LICENSE.txt', 'README.txt', 'THIRD-PARTY.txt', 'tenmark.exe')])
        self.assertEqual(len({e.date_time for e in entries}), 1)
        with open(self.zip, 'rb') as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        with open(self.zip + '.sha256', encoding='ascii') as f:
            self.assertEqual(f.read(), '%s  %s\n' % (digest, os.path.basename(self.zip)))

        self.step('the version resource, in Japanese, of the version text')
        exe = os.path.join(self.folder(), 'tenmark.exe')
        with open(exe, 'wb') as f:
            f.write(self.member('tenmark.exe'))
        resources = PEFile(exe).resources()
        (language, data), = find(resources, RT_VERSION)
        info = version_info(data)
        self.assertEqual((language, info['file_version'], info['product_version'],
                          info['translations'], list(info['strings'])),
                         (JAPANESE, self.number, self.number, [[JAPANESE, UNICODE]],
                          ['041104B0']))
        strings = info['strings']['041104B0']
        copyright_line = strings.pop('LegalCopyright')
        self.assertTrue(strings.pop('FileDescription'))
        self.assertEqual(strings, {'CompanyName': 'Tenmark developers',
                                   'FileVersion': self.label, 'InternalName': 'tenmark',
                                   'OriginalFilename': 'tenmark.exe', 'ProductName': 'Tenmark',
                                   'ProductVersion': self.label})
        # The copyright line is the one the About box shows.
        (_, about), = find(resources, 5, 100)
        self.assertIn(copyright_line.encode('utf-16-le') + b'\0\0', about)
        self.assertIn('Tenmark developers', copyright_line)
        self.step('the manifest is the resource script\'s, with the version filled in')
        (language, data), = find(resources, RT_MANIFEST, 1)
        with open(os.path.join(TOP, 'src', 'resources', 'tenmark.manifest.in'),
                  encoding='utf-8') as f:
            template = f.read().replace('@TENMARK_VERSION_NUMBER@', self.number).replace(
                '@TENMARK_VERSION_TEXT@', texts()['VersionText'])
        self.assertEqual((language, ET.canonicalize(data.decode('utf-8'), strip_text=True)),
                         (0, ET.canonicalize(template, strip_text=True)))

        self.step('README.txt, Japanese then English, each naming the folder and tenmark.ini')
        readme = self.text('README.txt')
        self.assertTrue(readme.startswith('\ufeff'), 'README.txt has no byte-order mark')
        english = readme.index('■ About Tenmark')
        self.assertLess(readme.index('■ Tenmark について'), english)
        for part in (readme[:english], readme[english:]):
            self.assertIn(self.inside, part)
            self.assertIn('tenmark.ini', part)
        self.step('LICENSE.txt, and THIRD-PARTY.txt with the exact versions and licences')
        license_text = self.text('LICENSE.txt')
        self.assertTrue(license_text.startswith('MIT License'))
        for words in ('Tenmark developers', 'THE SOFTWARE IS PROVIDED "AS IS"'):
            self.assertIn(words, license_text)
        third = self.text('THIRD-PARTY.txt')
        deps = os.environ.get('TENMARK_DEPS', '/opt/tenmark-deps')
        with open(os.path.join(deps, 'libpng-mingw', 'VERSION'), encoding='utf-8') as f:
            self.assertIn('libpng1.6 %s' % f.read().strip(), third)
        libgcc = subprocess.run(['x86_64-w64-mingw32-gcc', '-print-libgcc-file-name'],
                                capture_output=True, text=True, check=True).stdout.strip()
        gcc = subprocess.run(['dpkg-query', '-S', os.path.realpath(libgcc)], capture_output=True,
                             text=True, check=True).stdout.split(':')[0]
        for package in ('libz-mingw-w64-dev', 'mingw-w64-x86-64-dev', gcc):
            self.assertIn('%s %s' % (package, dpkg_version(package)), third)
        for licence in ('PNG Reference Library License', 'GCC RUNTIME LIBRARY EXCEPTION',
                        'Jean-loup Gailly', 'mingw-w64'):
            self.assertIn(licence, third)

    def test_runs_from_a_japanese_folder_and_keeps_its_files_beside_itself(self):
        place = os.path.join(self.folder(), 'お絵かき 道具')
        with zipfile.ZipFile(self.zip) as z:
            z.extractall(place)
        folder = os.path.join(place, self.inside)
        self.step('started from there, it keeps its automatic save and tenmark.ini beside itself')
        self.app.use(folder, copy_exe=False)
        self.app.start()
        vx, vy, _, _ = self.app.wait_window()['view']
        self.app.stroke(vx + 20, vy + 30, vx + 120, vy + 30)
        self.leave()
        with open(os.path.join(folder, 'tenmark.ini'), 'rb') as f:
            settings = ini_values(f.read())
        self.assertEqual(settings['s_save_dir'], windows_path(folder) + '\\')
        saved = [name for name in os.listdir(folder) if re.match(r'^\d{8}_\d{6}\.png$', name)]
        self.assertEqual(len(saved), 1, os.listdir(folder))
        self.assertEqual(read_pixels(os.path.join(folder, saved[0]), [(70, 30)]), [INK])

        self.step('every default binding it wrote is in README.txt with its command\'s name')
        readme = self.text('README.txt')
        english = readme.index('■ About Tenmark')
        names = texts()
        bindings = {k[len('dw_Key_'):]: int(v) for k, v in settings.items()
                    if k.startswith('dw_Key_') and int(v)}
        self.assertGreater(len(bindings), 10)
        for command, code in bindings.items():
            line = '\r\n  %s ' % key_name(code & 0xFFFFFFFF)
            self.assertRegex(readme[:english], re.escape(line) + ' *' +
                             re.escape(names['CommandName' + command]), command)
            self.assertIn(line, readme[english:], command)

        self.step('a picture in a folder with a Japanese name, itself named with a character '
                  'whose second Shift-JIS byte is a backslash, opened from the command line')
        picture = os.path.join(os.path.dirname(place), '線画 フォルダ', '表紙.bmp')
        os.makedirs(os.path.dirname(picture))
        convert('-size', '400x300', 'xc:white', '-fill', 'black', '-draw',
                'rectangle 10,10 29,19', '-type', 'bilevel', 'BMP3:' + picture)
        self.app.use(folder, [windows_path(picture)], copy_exe=False)
        self.app.start()
        vx, vy, vw, _ = self.app.wait_window()['view']
        self.assertEqual(vw, 400)
        # The rectangle stands out from the rest of the picture once it is painted.
        wait_until(lambda: len(set(self.app.colours(os.path.join(place, 'opened.png'), [
            (vx + 15, vy + 15), (vx + 60, vy + 40)]))) == 2, what='the opened picture')
        self.leave()
        self.step('nothing changed, so nothing more was saved')
        self.assertEqual(sorted(os.listdir(folder)), sorted(
            ['LICENSE.txt', 'README.txt', 'THIRD-PARTY.txt', 'tenmark.exe', 'tenmark.ini',
             saved[0]]))
