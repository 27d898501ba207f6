"""Reads resources straight from a PE file (a Windows program or library): the version
resource, the manifest and the icon sizes, as Windows finds them in the file."""

import struct

RT_ICON_GROUP = 14
RT_VERSION = 16
RT_MANIFEST = 24
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD


class PeError(Exception):
    pass


def _u16(data, offset):
    if offset + 2 > len(data):
        raise PeError("truncated at %#x" % offset)
    return struct.unpack_from("<H", data, offset)[0]


def _u32(data, offset):
    if offset + 4 > len(data):
        raise PeError("truncated at %#x" % offset)
    return struct.unpack_from("<I", data, offset)[0]


class PeResources:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        data = self.data
        if data[:2] != b"MZ":
            raise PeError("%s: no MZ header" % path)
        pe = _u32(data, 0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("%s: no PE header" % path)
        sections = _u16(data, pe + 6)
        optional_size = _u16(data, pe + 20)
        optional = pe + 24
        magic = _u16(data, optional)
        directories = optional + (96 if magic == 0x10B else 112)
        self.rsrc_rva = _u32(data, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            entry = table + 40 * i
            virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<IIII", data, entry + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw_offset))
        self.rsrc = self._offset(self.rsrc_rva) if self.rsrc_rva else None

    def _offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise PeError("address %#x outside every section" % rva)

    def _entries(self, directory):
        """(id or name, is a subdirectory, offset inside .rsrc) of a resource directory."""
        base = self.rsrc + directory
        count = _u16(self.data, base + 12) + _u16(self.data, base + 14)
        for i in range(count):
            name, target = struct.unpack_from("<II", self.data, base + 16 + 8 * i)
            yield name, bool(target & 0x80000000), target & 0x7FFFFFFF

    def resources(self, kind):
        """[(id, language, bytes)] of every resource of one type."""
        if self.rsrc is None:
            return []
        found = []
        for type_id, is_dir, types in self._entries(0):
            if type_id != kind or not is_dir:
                continue
            for name_id, _, names in self._entries(types):
                for language, _, leaf in self._entries(names):
                    rva, size = struct.unpack_from("<II", self.data, self.rsrc + leaf)
                    start = self._offset(rva)
                    if start + size > len(self.data):
                        raise PeError("resource beyond the end of the file")
                    found.append((name_id, language, self.data[start:start + size]))
        return found

    def version(self):
        """(file version as four numbers, {string name: text}) or None without a version."""
        found = self.resources(RT_VERSION)
        if not found:
            return None
        block = found[0][2]
        key, value, children = _version_block(block, 0)
        if key != "VS_VERSION_INFO" or len(value) < 52:
            raise PeError("not a version resource")
        signature, _, ms, ls = struct.unpack_from("<IIII", value, 0)
        if signature != FIXED_FILE_INFO_SIGNATURE:
            raise PeError("no fixed file information")
        # Windows finds the strings through the first language and code page of "Translation",
        # so only the table of that name counts.
        wanted = None
        for child_key, _, entries in children:
            if child_key == "VarFileInfo":
                for name, value, _ in entries:
                    if name == "Translation" and len(value) >= 4:
                        wanted = "%04x%04x" % struct.unpack_from("<HH", value, 0)
        strings = {}
        for child_key, _, tables in children:
            if child_key != "StringFileInfo":
                continue
            for table_name, _, entries in tables:
                if table_name.lower() != wanted:
                    continue
                for name, text, _ in entries:
                    strings[name] = text.decode("utf-16-le").rstrip("\0")
        return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF), strings

    def manifest(self):
        """The text of manifest 1, or None."""
        for name_id, _, data in self.resources(RT_MANIFEST):
            if name_id == 1:
                return data.decode("utf-8")
        return None

    def icon_sizes(self):
        """The pixel sizes of the first icon group (the program's icon), smallest first."""
        groups = self.resources(RT_ICON_GROUP)
        if not groups:
            return []
        data = groups[0][2]
        count = _u16(data, 4)
        return sorted((data[6 + 14 * i] or 256) for i in range(count))


def _align(offset):
    return (offset + 3) & ~3


def _version_block(data, offset):
    """(key, value bytes, children) of the version block at offset; text values stay UTF-16."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    if length < 6 or end > len(data):
        raise PeError("version block out of bounds")
    key_end = offset + 6
    while key_end + 1 < end and data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    value_start = _align(key_end + 2)
    value_size = value_length * 2 if is_text else value_length
    value = data[value_start:min(value_start + value_size, end)]
    children = []
    child = _align(value_start + value_size)
    while child + 6 <= end:
        child_key, child_value, grandchildren = _version_block(data, child)
        children.append((child_key, child_value, grandchildren))
        child = _align(child + _u16(data, child))
    return key, value, children
