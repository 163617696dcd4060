#!/usr/bin/env python3
"""Writes the release zip from the two mingw trees and the user guide."""
import argparse
import os
import sys
import zipfile

VERSION = "1.0.0"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build-root", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--guide", required=True)
    args = ap.parse_args()

    members = {
        "zelvane.exe": os.path.join(args.build_root, "win32", "app", "zelvane.exe"),
        "x64/zelvane.exe": os.path.join(args.build_root, "win64", "app", "zelvane.exe"),
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
