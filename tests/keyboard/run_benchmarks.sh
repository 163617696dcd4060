#!/usr/bin/env bash
# Runs the keyboard benchmarks and prints their figures (they check nothing).
#   tests/keyboard/run_benchmarks.sh <build-root>     e.g. build-keyboard
# Needs the native and win64 trees built; the Wine part makes its own prefix and display.
set -euo pipefail
root=$(cd "${1:?usage: $0 <build-root>}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)

echo "== one hotkey tick over a snapshot (native, Google Benchmark, no sanitizers)"
"$root/native/tests/keyboard/keyboard_hotkey_tick_benchmark" --benchmark_min_time=0.2

echo "== taking the key snapshot under Wine (every key, and the keys needed for F2)"
state=$(mktemp -d /tmp/zt_keyboard_bench.XXXXXX)
trap 'python3 "$top/tests/tools/wine_env.py" cleanup "$state" >/dev/null; rm -rf "$state"' EXIT
python3 "$top/tests/tools/wine_env.py" setup "$state" >/dev/null
python3 "$top/tests/tools/wine_env.py" run "$state" --timeout 120 -- \
  "$root/win64/tests/keyboard/keyboard_key_snapshot_benchmark.exe" 2000
