#!/usr/bin/env python3
"""Fails when a product folder includes from a folder it must not point at.

The arrows run one way: app/ uses everything, translate_pass/ and services/ use the shared
folders below them, and nothing points back into app/. The table below is the whole rule;
a folder not listed may include anything (tests/, app/).

Usage: check_include_arrows.py SOURCE_DIR
"""
import pathlib
import re
import sys

# Folder -> the folders its files may include from (its own is always allowed).
ALLOWED = {
    "text": {"text", "platform"},
    "platform": {"platform"},
    "keyboard": {"keyboard", "platform"},
    "services": {"services", "text", "platform"},
    "translate_pass": {"translate_pass", "text", "keyboard", "platform"},
}
# Every folder's tests except the app's own stay out of app/ as well.
TESTS_KEPT_OUT_OF_APP = {"text", "platform", "keyboard", "services", "translate_pass", "e2e",
                         "release", "tools"}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([A-Za-z0-9_]+)/')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".in"}


def violations(top: pathlib.Path):
    for folder, allowed in ALLOWED.items():
        for path in sorted((top / folder).rglob("*")):
            yield from check_file(top, path, lambda target: target in allowed)
    for folder in sorted(TESTS_KEPT_OUT_OF_APP):
        for path in sorted((top / "tests" / folder).rglob("*")):
            yield from check_file(top, path, lambda target: target != "app")


def check_file(top, path, may_include):
    if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
        return
    text = path.read_text(encoding="utf-8", errors="replace")
    for number, line in enumerate(text.splitlines(), 1):
        match = INCLUDE.match(line)
        if match and (top / match.group(1)).is_dir() and not may_include(match.group(1)):
            yield f"{path.relative_to(top)}:{number}: includes from {match.group(1)}/"


def main():
    top = pathlib.Path(sys.argv[1]).resolve()
    found = list(violations(top))
    for line in found:
        print(line)
    if found:
        print("include arrows: a folder points at one it must not (see the table in this script)")
        return 1
    print("include arrows: every include points the allowed way")
    return 0


if __name__ == "__main__":
    sys.exit(main())
