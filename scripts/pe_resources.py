#!/usr/bin/env python3
"""Reads a Windows executable's header facts and resources without Windows: the link time stamp,
every resource as (type, name, language) -> bytes, and the version resource's fields.

usage: pe_resources.py version|manifest|timestamp|list EXE
"""
import json
import struct
import sys

RT_VERSION = 16
RT_MANIFEST = 24
RESOURCE_DIRECTORY = 2


class PEFile:
    def __init__(self, path):
        with open(path, 'rb') as f:
            self.data = f.read()
        data = self.data
        if data[:2] != b'MZ':
            raise ValueError('%s: not an executable' % path)
        pe = struct.unpack_from('<I', data, 0x3C)[0]
        if data[pe:pe + 4] != b'PE\0\0':
            raise ValueError('%s: no PE header' % path)
        coff = pe + 4
        self.machine, sections, self.timestamp, _, _, optional_size, _ = struct.unpack_from(
            '<HHIIIHH', data, coff)
        optional = coff + 20
        magic = struct.unpack_from('<H', data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.checksum = struct.unpack_from('<I', data, optional + 64)[0]
        self.resource_rva, self.resource_size = struct.unpack_from(
            '<II', data, directories + 8 * RESOURCE_DIRECTORY)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, rva, raw_size, raw_offset = struct.unpack_from('<8sIIII', data,
                                                                         table + 40 * i)
            self.sections.append((name.rstrip(b'\0').decode('ascii', 'replace'), rva,
                                  max(vsize, raw_size), raw_offset, raw_size))

    def offset(self, rva):
        for _, start, size, raw_offset, raw_size in self.sections:
            if start <= rva < start + size:
                if rva - start >= raw_size:
                    raise ValueError('RVA %#x is not in the file' % rva)
                return raw_offset + rva - start
        raise ValueError('RVA %#x is in no section' % rva)

    def resources(self):
        """Every resource: {(type, name, language): bytes}; ids as ints, names as str."""
        found = {}
        if not self.resource_rva:
            return found
        base = self.offset(self.resource_rva)
        self._walk(base, 0, (), found)
        return found

    def _walk(self, base, at, path, found):
        named, numbered = struct.unpack_from('<HH', self.data, base + at + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from('<II', self.data, base + at + 16 + 8 * i)
            if name & 0x80000000:
                length = struct.unpack_from('<H', self.data, base + (name & 0x7FFFFFFF))[0]
                start = base + (name & 0x7FFFFFFF) + 2
                key = self.data[start:start + 2 * length].decode('utf-16-le')
            else:
                key = name
            if target & 0x80000000:
                self._walk(base, target & 0x7FFFFFFF, path + (key,), found)
            else:
                rva, size = struct.unpack_from('<II', self.data, base + target)
                start = self.offset(rva)
                found[path + (key,)] = self.data[start:start + size]


def _utf16z(data, at):
    end = at
    while data[end:end + 2] != b'\0\0':
        end += 2
    return data[at:end].decode('utf-16-le'), end + 2


def _align(at):
    return (at + 3) & ~3


def _version_blocks(data, at, end):
    """The children of a version block: (key, value bytes, value type, children start, end)."""
    while at < end:
        length, value_length, value_type = struct.unpack_from('<HHH', data, at)
        if length == 0:
            break
        key, value_at = _utf16z(data, at + 6)
        value_at = _align(value_at)
        size = value_length * 2 if value_type == 1 else value_length
        yield key, data[value_at:value_at + size], value_type, _align(value_at + size), at + length
        at = _align(at + length)


def version_info(data):
    """The fields of a VS_VERSIONINFO resource: fixed versions, the string tables and the
    translations."""
    (key, fixed, _, children, end), = list(_version_blocks(data, 0, len(data)))
    if key != 'VS_VERSION_INFO':
        raise ValueError('not a version resource')
    signature, _, fv_ms, fv_ls, pv_ms, pv_ls, flags_mask, flags, os_, file_type, subtype = \
        struct.unpack_from('<11I', fixed)
    if signature != 0xFEEF04BD:
        raise ValueError('no fixed file information')

    def quad(ms, ls):
        return '%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)

    info = {'file_version': quad(fv_ms, fv_ls), 'product_version': quad(pv_ms, pv_ls),
            'file_flags_mask': flags_mask, 'file_flags': flags, 'file_os': os_,
            'file_type': file_type, 'file_subtype': subtype, 'strings': {}, 'translations': []}
    for key, _, _, start, stop in _version_blocks(data, children, end):
        if key == 'StringFileInfo':
            for table, _, _, table_start, table_stop in _version_blocks(data, start, stop):
                strings = info['strings'].setdefault(table, {})
                for name, value, _, _, _ in _version_blocks(data, table_start, table_stop):
                    strings[name] = value.decode('utf-16-le').rstrip('\0')
        elif key == 'VarFileInfo':
            for name, value, _, _, _ in _version_blocks(data, start, stop):
                if name == 'Translation':
                    info['translations'] += [list(struct.unpack_from('<HH', value, i))
                                             for i in range(0, len(value), 4)]
    return info


def find(resources, kind, name=None):
    """The resources of one type (and name) as [(language, bytes)]."""
    return [(key[2], value) for key, value in sorted(resources.items(), key=str)
            if key[0] == kind and (name is None or key[1] == name)]


def main():
    what, path = sys.argv[1], sys.argv[2]
    pe = PEFile(path)
    resources = pe.resources()
    if what == 'version':
        (_, data), = find(resources, RT_VERSION)
        print(json.dumps(version_info(data), ensure_ascii=False, indent=1))
    elif what == 'timestamp':
        print(pe.timestamp)
    elif what == 'manifest':
        (_, data), = find(resources, RT_MANIFEST, 1)
        sys.stdout.write(data.decode('utf-8'))
    else:
        print('timestamp %d' % pe.timestamp)
        for key, value in sorted(resources.items(), key=str):
            print('%s %d bytes' % ('/'.join(str(k) for k in key), len(value)))


if __name__ == '__main__':
    main()
