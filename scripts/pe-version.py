#!/usr/bin/env python3
"""Prints the version resource of a Windows PE file, as Windows reads it.

Usage: pe-version.py FILE

Walks the PE headers to the resource section, follows the resource directory
to the version resource (type 16) and prints one NAME=VALUE line for each of
its facts:

    FixedFileVersion=1.1.0.0
    FixedProductVersion=1.1.0.0
    FileVersion=1.1.0.0          (and every other string of the string tables)

Needs nothing but Python's standard library, so that a release can be checked
on any machine. Exits 1 with a message when the file has no readable version
resource.
"""

import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD
SUBDIRECTORY = 0x80000000


class NotReadable(Exception):
    pass


def unpack(fmt, data, offset):
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        raise NotReadable(f"truncated at offset {offset:#x}")
    return struct.unpack_from(fmt, data, offset)


def sections(data):
    """(virtual address, virtual size, file offset, raw size) of every section,
    and the resource directory's RVA and size."""
    if data[:2] != b"MZ":
        raise NotReadable("not an MZ executable")
    (pe,) = unpack("<I", data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotReadable("no PE signature")
    _, count, _, _, _, optional_size, _ = unpack("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    (magic,) = unpack("<H", data, optional)
    directories = {0x10B: 96, 0x20B: 112}.get(magic)
    if directories is None:
        raise NotReadable(f"unknown optional header magic {magic:#x}")
    (directory_count,) = unpack("<I", data, optional + directories - 4)
    if directory_count <= 2:
        raise NotReadable("no resource directory entry")
    resource_rva, resource_size = unpack("<II", data, optional + directories + 2 * 8)
    table = optional + optional_size
    found = []
    for i in range(count):
        virtual_size, virtual_address, raw_size, raw_offset = unpack("<IIII", data, table + 40 * i + 8)
        found.append((virtual_address, max(virtual_size, raw_size), raw_offset, raw_size))
    return found, resource_rva, resource_size


def file_offset(rva, section_list):
    for virtual_address, size, raw_offset, raw_size in section_list:
        if virtual_address <= rva < virtual_address + size and rva - virtual_address < raw_size:
            return raw_offset + rva - virtual_address
    raise NotReadable(f"RVA {rva:#x} lies in no section")


def first_entry(data, directory, wanted_id=None):
    """Offset field of the first entry of a resource directory, or of the
    entry with the wanted integer id."""
    _, _, _, _, named, numbered = unpack("<IIHHHH", data, directory)
    for i in range(named + numbered):
        name, target = unpack("<II", data, directory + 16 + 8 * i)
        if wanted_id is None or (not name & SUBDIRECTORY and name == wanted_id):
            return target
    raise NotReadable("no version resource" if wanted_id == RT_VERSION else "empty resource directory")


def version_resource(data):
    section_list, resource_rva, resource_size = sections(data)
    if resource_rva == 0 or resource_size == 0:
        raise NotReadable("no resource section")
    root = file_offset(resource_rva, section_list)
    target = first_entry(data, root, RT_VERSION)
    # Type, then name, then language: the first name and language serve.
    for _ in range(2):
        if not target & SUBDIRECTORY:
            raise NotReadable("version resource directory is malformed")
        target = first_entry(data, root + (target & ~SUBDIRECTORY))
    if target & SUBDIRECTORY:
        raise NotReadable("version resource directory is too deep")
    rva, size, _, _ = unpack("<IIII", data, root + target)
    start = file_offset(rva, section_list)
    return data[start:start + size]


def align4(offset):
    return (offset + 3) & ~3


def read_block(blob, offset):
    """One VS_VERSIONINFO-style block: (key, value bytes, is text, children, end)."""
    length, value_length, value_type = unpack("<HHH", blob, offset)
    end = offset + length
    if length < 6 or end > len(blob):
        raise NotReadable(f"bad block length at {offset:#x}")
    key_start = offset + 6
    key_end = key_start
    while blob[key_end:key_end + 2] != b"\0\0":
        key_end += 2
        if key_end >= end:
            raise NotReadable("unterminated block key")
    key = blob[key_start:key_end].decode("utf-16-le")
    value_start = align4(key_end + 2)
    value_size = value_length * 2 if value_type == 1 else value_length
    value = blob[value_start:value_start + value_size]
    children = []
    child = align4(value_start + value_size)
    while child < end:
        block = read_block(blob, child)
        children.append(block)
        child = align4(block[4])
    return key, value, value_type == 1, children, end


def dotted(most, least):
    return f"{most >> 16}.{most & 0xFFFF}.{least >> 16}.{least & 0xFFFF}"


def facts(blob):
    key, value, _, children, _ = read_block(blob, 0)
    if key != "VS_VERSION_INFO":
        raise NotReadable(f"version resource starts with key {key!r}")
    if len(value) < 52:
        raise NotReadable("no fixed file information")
    signature, _, file_ms, file_ls, product_ms, product_ls = unpack("<IIIIII", value, 0)
    if signature != FIXED_SIGNATURE:
        raise NotReadable(f"fixed file information has signature {signature:#x}")
    yield "FixedFileVersion", dotted(file_ms, file_ls)
    yield "FixedProductVersion", dotted(product_ms, product_ls)
    for child_key, _, _, tables, _ in children:
        if child_key != "StringFileInfo":
            continue
        for _, _, _, strings, _ in tables:
            for name, text, is_text, _, _ in strings:
                if is_text:
                    yield name, text.decode("utf-16-le").rstrip("\0")


def main(arguments):
    if len(arguments) != 1:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        with open(arguments[0], "rb") as file:
            data = file.read()
        for name, value in facts(version_resource(data)):
            print(f"{name}={value}")
    except (OSError, NotReadable) as error:
        print(f"pe-version: {arguments[0]}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
