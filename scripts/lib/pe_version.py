#!/usr/bin/env python3
"""Prints the version resource of a Windows executable, one `name=value` a line.

    pe_version.py VERSION.res   (the raw resource, as `wrestool -x --raw --type=16` gives it)

First the binary versions (`FileVersion#` and `ProductVersion#`, four dotted numbers),
`FileType#`, then every string of every string table as `TABLE/Name=value`, then the
translations as `Translation=LANG/CODEPAGE` in hex.
"""
import struct
import sys


def align4(offset):
    return (offset + 3) & ~3


def read_block(data, offset):
    """One VS_VERSIONINFO-style node: (key, value, children, end offset)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    position = align4(key_end + 2)
    value_bytes = value_length * 2 if value_type == 1 else value_length
    value = data[position:position + value_bytes]
    position = align4(position + value_bytes)
    children = []
    while position < end:
        child = read_block(data, position)
        children.append(child)
        position = align4(child[3])
    return key, value, children, end


def dotted(high, low):
    return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"


def main():
    data = open(sys.argv[1], "rb").read()
    key, fixed, children, _ = read_block(data, 0)
    if key != "VS_VERSION_INFO" or len(fixed) < 52:
        sys.exit(f"{sys.argv[1]}: not a version resource")
    fields = struct.unpack_from("<13I", fixed)
    if fields[0] != 0xFEEF04BD:
        sys.exit(f"{sys.argv[1]}: no VS_FIXEDFILEINFO signature")
    print(f"FileVersion#={dotted(fields[2], fields[3])}")
    print(f"ProductVersion#={dotted(fields[4], fields[5])}")
    print(f"FileType#={fields[9]}")
    for child_key, _, tables, _ in children:
        if child_key == "StringFileInfo":
            for table, _, strings, _ in tables:
                for name, value, _, _ in strings:
                    text = value.decode("utf-16-le").rstrip("\0")
                    print(f"{table}/{name}={text}")
        elif child_key == "VarFileInfo":
            for _, value, _, _ in tables:
                for index in range(0, len(value) - 3, 4):
                    language, codepage = struct.unpack_from("<HH", value, index)
                    print(f"Translation={language:04X}/{codepage:04X}")


if __name__ == "__main__":
    main()
