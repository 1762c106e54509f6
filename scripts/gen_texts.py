#!/usr/bin/env python3
"""Turns the UTF-8 text table into a header of UTF-8 byte strings, each checked to be one that
Shift-JIS (code page 932) can hold, as the resources and the settings file need.

Each non-empty line of the table that does not start with '#' is NAME, a tab, and the text;
"\\t" in the text stands for a tab character.
"""
import sys


def c_literal(data: bytes) -> str:
    out = []
    for b in data:
        # Hex escapes only, split after each so a following hex digit is never swallowed.
        out.append('\\x%02x""' % b)
    return '"' + ''.join(out) + '"'


def main(src: str, dst: str) -> None:
    lines = ['// Generated from src/resources/texts.txt: UTF-8 texts. Do not edit.',
             '#pragma once', '', 'namespace tenmark::text {', '']
    with open(src, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            name, sep, text = line.partition('\t')
            if not sep or not name.isidentifier():
                sys.exit(f'{src}:{number}: expected NAME<TAB>text')
            text = text.replace('\\t', '\t')
            try:
                text.encode('cp932')
            except UnicodeEncodeError:
                sys.exit(f'{src}:{number}: not a Shift-JIS text')
            data = text.encode('utf-8')
            lines.append(f'// {text}')
            lines.append(f'inline constexpr char {name}[] = {c_literal(data)};')
    lines += ['', '}  // namespace tenmark::text', '']
    with open(dst, 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines))


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
