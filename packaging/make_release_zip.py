#!/usr/bin/env python3
"""Writes the release zip from the two mingw trees and the user guide."""
import argparse
import os
import sys
import zipfile

VERSION = "1.0.0"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build-root", help="the folder holding win32/ and win64/ (scripts/build's)")
    ap.add_argument("--win32-tree", help="the i686 tree (default: BUILD_ROOT/win32)")
    ap.add_argument("--win64-tree", help="the x86_64 tree (default: BUILD_ROOT/win64)")
    ap.add_argument("--out", required=True)
    ap.add_argument("--guide", required=True)
    args = ap.parse_args()
    trees = {}
    for bits in ("win32", "win64"):
        tree = getattr(args, f"{bits}_tree")
        if not tree and args.build_root:
            tree = os.path.join(args.build_root, bits)
        if not tree:
            ap.error(f"give --{bits}-tree or --build-root")
        trees[bits] = tree

    members = {
        "zelvane.exe": os.path.join(trees["win32"], "app", "zelvane.exe"),
        "x64/zelvane.exe": os.path.join(trees["win64"], "app", "zelvane.exe"),
    }
    for name, path in members.items():
        if not os.path.isfile(path):
            print(f"package: {path} is missing: build the trees first (scripts/build)", file=sys.stderr)
            return 1
    with open(args.guide, encoding="utf-8") as f:
        guide = f.read()
    # Notepad on every Windows version reads UTF-8 with a byte-order mark and CR LF lines.
    guide_bytes = ("\ufeff" + guide.replace("\r\n", "\n").replace("\n", "\r\n")).encode("utf-8")

    os.makedirs(args.out, exist_ok=True)
    zip_path = os.path.join(args.out, f"zelvane-{VERSION}.zip")
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, path in members.items():
            z.write(path, name)
        z.writestr("README-zh.txt", guide_bytes)
    print(zip_path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
