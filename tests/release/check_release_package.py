#!/usr/bin/env python3
"""Builds the release zip from the existing trees and checks what it holds:
the 32-bit executable (PE32, i386), the 64-bit one (PE32+, x86-64) and the Chinese guide.

Usage: check_release_package.py SOURCE_DIR WIN32_TREE WIN64_TREE"""
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

top, win32_tree, win64_tree = sys.argv[1], sys.argv[2], sys.argv[3]
if not win32_tree:
    sys.exit("the 32-bit tree is not known: configure this tree with -DZT_WIN32_TREE=<the i686 tree>"
             " (scripts/build and the win64 preset do)")


def pe_kind(data):
    """(optional-header magic, machine) read from the PE headers, or None."""
    if data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    magic = struct.unpack_from("<H", data, pe + 24)[0]
    return magic, machine


failures = []
with tempfile.TemporaryDirectory() as out:
    r = subprocess.run([os.path.join(top, "scripts", "package"), "--no-build",
                        "--win32-tree", win32_tree, "--win64-tree", win64_tree, "--out", out],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(r.stdout)
    if r.returncode != 0:
        sys.exit(f"package failed with {r.returncode}")
    zips = [f for f in os.listdir(out) if f.endswith(".zip")]
    if len(zips) != 1:
        sys.exit(f"expected one zip, found {zips}")
    with zipfile.ZipFile(os.path.join(out, zips[0])) as z:
        names = set(z.namelist())
        expected = {"zelvane.exe": (0x10B, 0x14C, "PE32 i386"),
                    "x64/zelvane.exe": (0x20B, 0x8664, "PE32+ x86-64")}
        for name, (magic, machine, label) in expected.items():
            if name not in names:
                failures.append(f"{name} missing")
                continue
            kind = pe_kind(z.read(name))
            if kind != (magic, machine):
                failures.append(f"{name}: headers {kind}, expected {label}")
            else:
                print(f"{name}: {label}")
        if "README-zh.txt" not in names:
            failures.append("README-zh.txt missing")
        else:
            guide = z.read("README-zh.txt").decode("utf-8-sig")
            for must in ("使用方法", "F2", "翻译完成", "Esc"):
                if must not in guide:
                    failures.append(f"guide lacks {must!r}")
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
