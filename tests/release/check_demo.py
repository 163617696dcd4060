#!/usr/bin/env python3
"""Runs the demo's driver (what scripts/demo runs after its build) on the already-built win64
tree and checks what it shows: the before -> after table (translated controls changed, skipped
ones kept) and two screenshots that differ.

Usage: check_demo.py SOURCE_DIR WIN64_TREE"""
import os
import subprocess
import sys
import tempfile

top, tree = sys.argv[1], sys.argv[2]
failures = []

with tempfile.TemporaryDirectory() as out:
    env = dict(os.environ)
    env.pop("ZT_DISPLAY", None)
    driver = [sys.executable, os.path.join(top, "scripts", "demo_driver.py"), "--tree", tree,
              "--out", out]
    with tempfile.TemporaryFile() as log:
        rc = subprocess.run(driver, env=env, stdout=log, stderr=subprocess.STDOUT,
                            stdin=subprocess.DEVNULL, timeout=600).returncode
        log.seek(0)
        text = log.read().decode("utf-8", "replace")
    print(text)
    if rc != 0:
        sys.exit(f"the demo driver exited with {rc}")
    rows = {}
    for line in text.splitlines():
        if " | " in line and " -> " in line:
            name, rest = line.split(" | ", 1)
            before, after = rest.split(" -> ", 1)
            rows[name.strip()] = (before.strip(), after.strip())
    expect_changed = {"open": "打开", "caption": "示例设置"}
    for name, wanted in expect_changed.items():
        if name not in rows:
            failures.append(f"no row for {name}")
        elif wanted not in rows[name][1]:
            failures.append(f"{name}: after is {rows[name][1]!r}, expected {wanted!r} in it")
    for name in ("queding", "empty", "spaces", "hung"):
        if name not in rows:
            failures.append(f"no row for {name}")
        elif rows[name][0] != rows[name][1]:
            failures.append(f"{name} changed: {rows[name]}")
    shots = [os.path.join(out, n) for n in ("sample_before.png", "sample_after.png")]
    for shot in shots:
        if not os.path.isfile(shot) or os.path.getsize(shot) == 0:
            failures.append(f"{shot} missing")
    if not failures:
        r = subprocess.run(["compare", "-metric", "AE", *shots, "null:"],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        differing = r.stdout.strip().split()[0] if r.stdout.strip() else "0"
        print(f"pixels that differ between the screenshots: {differing}")
        if float(differing) == 0:
            failures.append("the screenshots before and after are the same")
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
