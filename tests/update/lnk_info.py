#!/usr/bin/env python3
"""Prints the working folder kept in a Windows shortcut (.lnk) file, or nothing."""
import struct
import sys


def working_folder(data):
    flags = struct.unpack_from("<I", data, 0x14)[0]
    at = 0x4C
    if flags & 0x01:  # a target ID list
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & 0x02:  # link info
        at += struct.unpack_from("<I", data, at)[0]
    unicode = bool(flags & 0x80)
    # The strings that follow, in order, each present when its flag is set.
    for bit in (0x04, 0x08, 0x10):  # name, relative path, working folder
        if not flags & bit:
            continue
        count = struct.unpack_from("<H", data, at)[0]
        at += 2
        size = count * 2 if unicode else count
        text = data[at:at + size].decode("utf-16-le" if unicode else "latin-1")
        at += size
        if bit == 0x10:
            return text
    return ""


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        print(working_folder(f.read()).rstrip("\0"))
