#!/usr/bin/env python3
"""Packs a built tenmark.exe into the download: a zip with one folder tenmark-VERSION/ holding
tenmark.exe, README.txt, LICENSE.txt and THIRD-PARTY.txt, and its SHA-256 in sha256sum's format.

The version and the copyright line are read back from the executable's version resource, the
default keys from the command table and the key names in the sources, and the third-party
licences from the copyright files of the packages whose archives the link map says went into
the executable. The zip is the same bytes on every run: fixed entry order, times (the given
epoch, normally the last commit's time) and modes.

usage: make_package.py --exe EXE --link-map MAP --source TOP --deps DEPS --epoch SECONDS --out DIR
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import textwrap
import time
import unicodedata
import zipfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_resources import RT_VERSION, PEFile, find, version_info  # noqa: E402

VERSION_TABLE = '041104B0'  # Japanese, Unicode
BOM = '\ufeff'

# What README.txt says about each command in English; the Japanese text is the command's own
# name in the shortcut dialog. Eraser, Hand and Move act while their key is held.
COMMANDS_EN = {
    'New': 'New picture', 'Open': 'Open', 'Save': 'Save', 'SaveAs': 'Save As',
    'Undo': 'Undo', 'Redo': 'Redo', 'VMirror': 'Mirror the canvas left to right',
    'HMirror': 'Mirror the canvas top to bottom', 'Resize': 'Fit the window to the canvas',
    'Alpha': 'Translucent window on/off', 'Config': 'Settings dialog',
    'KeyConf': 'Shortcut key dialog', 'Eraser': 'Eraser', 'ShowMenu': 'Show/hide the menu bar',
    'PopMenu': 'Pop-up menu', 'Copy': 'Copy', 'Paste': 'Paste', 'Brush_P': 'Pen size up',
    'Brush_M': 'Pen size down', 'Erase_P': 'Eraser size up', 'Erase_M': 'Eraser size down',
    'SetPresser': 'Pen pressure on/off', 'ZoomUp': 'Zoom in', 'ZoomDown': 'Zoom out',
    'ZoomNomal': 'Normal size', 'Hand': 'Scroll the view by dragging',
    'Move': 'Move the picture by dragging', 'NoSaveExit': 'Quit without saving',
    'Clear': 'Erase everything',
}
HELD = {'Eraser', 'Hand', 'Move'}
HELD_JA = '（押している間、ドラッグで）'
HELD_JA_ERASER = '（押している間、左ボタンで）'
HELD_EN = ' (while held)'

# The packages whose files may be linked into tenmark.exe, as the licence list names them.
TITLES = {
    'mingw-w64-x86-64-dev': 'mingw-w64 runtime (start-up code, C runtime library, import libraries)',
    'gcc-mingw-w64-x86-64-win32': 'GCC runtime (libgcc)',
    'gcc-mingw-w64-x86-64-posix': 'GCC runtime (libgcc)',
    'g++-mingw-w64-x86-64-win32': 'GCC C++ standard library (libstdc++)',
    'g++-mingw-w64-x86-64-posix': 'GCC C++ standard library (libstdc++)',
    'libz-mingw-w64-dev': 'zlib',
}


# --- the texts of the sources --------------------------------------------------------------

def read_texts(top):
    texts = {}
    with open(os.path.join(top, 'src/resources/texts.txt'), encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if line and not line.startswith('#'):
                name, _, text = line.partition('\t')
                texts[name] = text.replace('\\t', '\t')
    return texts


def read_source(top, path):
    with open(os.path.join(top, path), encoding='utf-8') as f:
        return f.read()


def default_bindings(top, texts):
    """[(command, list name, default code)] in command order, from the command table."""
    constants = {name: int(value, 16) for name, value in re.findall(
        r'inline constexpr KeyCode (k\w+) = (0x[0-9A-Fa-f]+);',
        read_source(top, 'src/shortcuts/key_code.h'))}
    table = re.findall(r'\{"dw_Key_(\w+)", text::(\w+), ([^}]+)\}',
                       read_source(top, 'src/shortcuts/command_table.cpp'))
    commands = []
    for command, name, code in table:
        value = 0
        for part in code.split('|'):
            part = part.strip()
            value |= constants[part] if part in constants else int(part, 0)
        commands.append((command, texts[name], value))
    if len(commands) != 29:
        sys.exit('make_package: expected 29 commands in command_table.cpp, found %d'
                 % len(commands))
    return commands


def key_namer(top, texts):
    """keyCodeName of src/shortcuts/key_code.cpp, over the names that file lists."""
    names = {}
    for key, literal, text in re.findall(r'\{(0x[0-9A-Fa-f]{2}), (?:"([^"]*)"|text::(\w+))\}',
                                         read_source(top, 'src/shortcuts/key_code.cpp')):
        names[int(key, 16)] = literal if literal else texts[text]

    def name(code):
        if code == 0x800:
            return texts['KeyNameRightClick']
        key = code & 0xFF
        parts = [names.get(key, chr(key))] if key else []
        for flag, modifier in ((0x8000, 'Ctrl'), (0x4000, 'Shift'), (0x2000, 'Alt')):
            if code & flag:
                parts.insert(0, modifier)
        return '+'.join(parts)
    return name


def width(text):
    return sum(2 if unicodedata.east_asian_width(c) in 'WF' else 1 for c in text)


def key_lists(top):
    texts = read_texts(top)
    name = key_namer(top, texts)
    bound, unbound_ja, unbound_en = [], [], []
    for command, list_name, code in default_bindings(top, texts):
        if command not in COMMANDS_EN:
            sys.exit('make_package: no English name for the command %s' % command)
        if not code:
            unbound_ja.append(list_name)
            unbound_en.append(COMMANDS_EN[command])
            continue
        held_ja = HELD_JA_ERASER if command == 'Eraser' else HELD_JA
        bound.append((name(code), list_name + (held_ja if command in HELD else ''),
                      COMMANDS_EN[command] + (HELD_EN if command in HELD else '')))

    def column(key, pad):
        return '  ' + key + ' ' * (pad - width(key))

    ja = [column(key, 22) + text for key, text, _ in bound]
    en = [column(key, 30) + text for key, _, text in bound]
    ja += [''] + wrap_wide('初期設定でキーのないコマンド: ' + '、'.join(unbound_ja), 88)
    en += [''] + textwrap.wrap('No key by default: ' + ', '.join(unbound_en), 88)
    return '\n'.join(ja), '\n'.join(en)


def wrap_wide(text, columns):
    """Lines of at most `columns` display columns (full-width characters take two), broken
    after the list's separators."""
    lines, line = [], ''
    for piece in re.findall(r'[^、 ]+[、 ]?', text):
        if line and width(line + piece) > columns:
            lines.append(line.rstrip())
            line = ''
        line += piece
    return lines + [line.rstrip()]


def fill(template_path, values):
    with open(template_path, encoding='utf-8') as f:
        text = f.read()
    for key, value in values.items():
        text = text.replace('@%s@' % key, value)
    left = re.findall(r'@[A-Z_]+@', text)
    if left:
        sys.exit('make_package: %s: unfilled %s' % (template_path, ', '.join(left)))
    return text


def windows_text(text, bom):
    """CR LF lines, UTF-8, with a byte-order mark when the text is not plain ASCII to Notepad."""
    text = text.replace('\r\n', '\n').replace('\n', '\r\n')
    return ((BOM if bom else '') + text).encode('utf-8')


# --- third-party licences ------------------------------------------------------------------

def linked_inputs(link_map):
    """The files the link took code from: archives with a member included, and the objects."""
    inputs = set()
    with open(link_map, encoding='utf-8', errors='replace') as f:
        text = f.read()
    head, _, rest = text.partition('\nMemory Configuration')
    for archive in re.findall(r'^(\S+\.a)\(', head, re.M):
        inputs.add(archive)
    for loaded in re.findall(r'^LOAD (\S+)$', rest, re.M):
        if not loaded.endswith('.a'):
            inputs.add(loaded)
    return sorted(inputs)


def dpkg_owner(path):
    out = subprocess.run(['dpkg-query', '-S', path], capture_output=True, text=True)
    if out.returncode != 0:
        return None
    return out.stdout.split(':', 1)[0].split(',')[0].strip()


def dpkg_field(package, field):
    return subprocess.run(['dpkg-query', '-W', '-f=${%s}' % field, package], check=True,
                          capture_output=True, text=True).stdout.strip()


def read_text_file(path):
    with open(path, encoding='utf-8', errors='replace') as f:
        return f.read().rstrip() + '\n'


def third_party(link_map, build_dir, deps):
    """The text of THIRD-PARTY.txt."""
    libpng = os.path.realpath(os.path.join(deps, 'libpng-mingw'))
    build_dir = os.path.realpath(build_dir)
    packages = {}  # package -> [file names]
    uses_libpng = []
    for path in linked_inputs(link_map):
        if path == 'dll':  # the linker's own import tables ("LOAD dll stuff")
            continue
        real = os.path.realpath(os.path.join(build_dir, path))
        if real.startswith(build_dir + os.sep):
            continue  # Tenmark's own objects
        if real.startswith(libpng + os.sep):
            uses_libpng.append(os.path.basename(real))
            continue
        owner = dpkg_owner(real)
        if owner is None:
            sys.exit('make_package: %s went into tenmark.exe, but no package owns it: its '
                     'licence is unknown' % real)
        packages.setdefault(owner, []).append(os.path.basename(real))
    if not uses_libpng:
        sys.exit('make_package: the link map shows no libpng')

    parts, texts = [], []
    number = 0

    def entry(title, version_line, files):
        nonlocal number
        number += 1
        lines = ['%d. %s' % (number, title)]
        for text in (version_line, 'Linked from: ' + ', '.join(sorted(set(files)))):
            lines += textwrap.wrap(text, 90, initial_indent='   ', subsequent_indent='   ',
                                   break_on_hyphens=False)
        parts.append('\n'.join(lines) + '\n')
        return number

    source = os.path.join(deps, 'libpng-source')
    with open(os.path.join(deps, 'libpng-mingw', 'VERSION'), encoding='utf-8') as f:
        libpng_version = f.read().strip()
    series = os.path.join(source, 'debian', 'patches', 'series')
    patches = []
    if os.path.exists(series):
        with open(series, encoding='utf-8') as f:
            patches = [line.strip() for line in f if line.strip() and not line.startswith('#')]
    n = entry('libpng', 'Debian source package libpng1.6 %s, built for this program from '
              "that source" % libpng_version, uses_libpng)
    texts.append(('%d. libpng: LICENSE of the source' % n,
                  read_text_file(os.path.join(source, 'LICENSE'))))
    texts.append(('%d. libpng: debian/copyright of the source package' % n,
                  read_text_file(os.path.join(source, 'debian', 'copyright'))
                  + ('\nDebian patches applied:\n' + ''.join('  %s\n' % p for p in patches)
                     if patches else '')))

    # Packages that share one copyright file (the GCC ones) share one text.
    by_copyright = {}
    for package in sorted(packages, key=lambda p: (p not in TITLES, TITLES.get(p, p), p)):
        copyright_file = os.path.realpath('/usr/share/doc/%s/copyright' % package)
        if not os.path.exists(copyright_file):
            sys.exit('make_package: %s has no copyright file' % copyright_file)
        title = TITLES.get(package) or dpkg_field(package, 'binary:Summary')
        version_line = 'Debian package %s %s (source package %s)' % (
            package, dpkg_field(package, 'Version'), dpkg_field(package, 'source:Package'))
        n = entry(title, version_line, packages[package])
        by_copyright.setdefault(copyright_file, []).append((n, package))
    for copyright_file, users in by_copyright.items():
        label = ', '.join('%d. %s' % (n, p) for n, p in users)
        texts.append(('%s: %s' % (label, copyright_file), read_text_file(copyright_file)))

    rule = '=' * 90
    out = ['Third-party software in tenmark.exe', rule, '',
           'tenmark.exe is linked statically. Besides the code of Tenmark itself (LICENSE.txt) it',
           'holds code from the following software. Each is listed with the exact version that',
           'was linked in and the files it came from; the licence and copyright texts follow,',
           "as the packages themselves carry them.", '']
    out += parts
    for heading, body in texts:
        out += ['', rule, heading, rule, '', body]
    return '\n'.join(out)


# --- the zip -------------------------------------------------------------------------------

def zip_time(epoch):
    t = time.gmtime(max(epoch, 315532800))  # zip times start in 1980
    return t[:6]


def write_zip(path, folder, files, epoch):
    stamp = zip_time(epoch)
    temporary = path + '.tmp'
    with zipfile.ZipFile(temporary, 'w') as z:
        info = zipfile.ZipInfo(folder + '/', stamp)
        info.create_system = 3
        info.external_attr = (0o40755 << 16) | 0x10
        z.writestr(info, b'')
        for name in sorted(files):
            info = zipfile.ZipInfo(folder + '/' + name, stamp)
            info.create_system = 3
            info.external_attr = (0o100755 if name.endswith('.exe') else 0o100644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, files[name], compresslevel=9)
    os.replace(temporary, path)


def main():
    parser = argparse.ArgumentParser()
    for option in ('exe', 'link-map', 'source', 'deps', 'out'):
        parser.add_argument('--' + option, required=True)
    parser.add_argument('--epoch', type=int, required=True)
    args = parser.parse_args()

    (_, data), = find(PEFile(args.exe).resources(), RT_VERSION)
    strings = version_info(data)['strings'][VERSION_TABLE]
    version, copyright_line = strings['ProductVersion'], strings['LegalCopyright']
    folder = 'tenmark-%s' % version
    zip_name = '%s-win64.zip' % folder
    keys_ja, keys_en = key_lists(args.source)
    title = '%s %s' % (strings['ProductName'], version)
    values = {'VERSION_TEXT': title, 'VERSION_RULE': '=' * len(title), 'FOLDER': folder,
              'ZIP': zip_name, 'KEYS_JA': keys_ja, 'KEYS_EN': keys_en,
              'COPYRIGHT': copyright_line}
    packaging = os.path.join(args.source, 'packaging')
    with open(args.exe, 'rb') as f:
        exe = f.read()
    files = {
        'tenmark.exe': exe,
        'README.txt': windows_text(fill(os.path.join(packaging, 'README.txt.in'), values), True),
        'LICENSE.txt': windows_text(fill(os.path.join(packaging, 'LICENSE.txt.in'), values),
                                    False),
        'THIRD-PARTY.txt': windows_text(
            third_party(args.link_map, os.path.dirname(os.path.abspath(args.link_map)),
                        args.deps), True),
    }
    os.makedirs(args.out, exist_ok=True)
    path = os.path.join(args.out, zip_name)
    write_zip(path, folder, files, args.epoch)
    with open(path, 'rb') as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    with open(path + '.sha256', 'w', encoding='ascii', newline='\n') as f:
        f.write('%s  %s\n' % (digest, zip_name))
    print(path)
    print('%s  %s' % (digest, zip_name))
    print('zip: %d bytes, tenmark.exe: %d bytes' % (os.path.getsize(path), len(exe)))


if __name__ == '__main__':
    main()
