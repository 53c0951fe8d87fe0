#!/usr/bin/env python3
"""Copies a PE file, its COFF machine field set to i386 (0x14c)."""
import struct
import sys

data = bytearray(open(sys.argv[1], "rb").read())
pe = struct.unpack_from("<I", data, 0x3C)[0]
assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
struct.pack_into("<H", data, pe + 4, 0x14C)
open(sys.argv[2], "wb").write(data)
