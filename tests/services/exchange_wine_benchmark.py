#!/usr/bin/env python3
"""Figures of the real exchange under Wine against the stand-in service (printed, not checked).

  exchange_wine_benchmark.py BENCHMARK_EXE [--requests N] [--production-stall]

- the mean wall time of one GET and one POST, over N requests (20), with the stand-in's
  replies sent with TCP_NODELAY (as it serves) and without (Nagle's algorithm on);
- when an exchange with a server that never answers is cut, for a 1.5 s deadline and, with
  --production-stall, for the production bounds (20 s).

Makes its own Wine prefix and display in a temporary folder (or uses ZT_WINE_STATE).
BENCHMARK_EXE: build/win64/tests/services/services_exchange_benchmark.exe
"""
import argparse
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))

import stand_in_service  # noqa: E402
import wine_env  # noqa: E402


def run(env, exe, svc, *args):
    rc, output = env.run([exe] + [str(a) for a in args], timeout=300,
                         extra_env={"ZELVANE_TEST_SERVICE_HOST": svc.host})
    lines = [line for line in output.splitlines() if line and not line.startswith("[wine")]
    return rc, (lines[-1] if lines else "(no output, exit code %r)" % rc)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("exe")
    parser.add_argument("--requests", type=int, default=20)
    parser.add_argument("--production-stall", action="store_true")
    args = parser.parse_args()

    own_state = None
    if "ZT_WINE_STATE" in os.environ:
        env = wine_env.WineEnv.from_environment()
    else:
        own_state = tempfile.mkdtemp(prefix="exchange-bench-")
        wine_env.setup(own_state)
        env = wine_env.WineEnv.load(own_state)
    svc = stand_in_service.StandInService().start()
    try:
        run(env, args.exe, svc, "get", 1)  # warm up: the first Wine start loads everything
        for nodelay in (True, False):
            stand_in_service._Handler.disable_nagle_algorithm = nodelay
            for method in ("get", "post"):
                _, line = run(env, args.exe, svc, method, args.requests)
                print("%-18s %s" % ("TCP_NODELAY" if nodelay else "Nagle (no NODELAY)", line),
                      flush=True)
        stand_in_service._Handler.disable_nagle_algorithm = True
        stalls = [1500] + ([0] if args.production_stall else [])
        for mode, params in (("black_hole", {}), ("slow", {"delay": 60, "stall": "headers"})):
            svc.set_mode(mode, **params)
            for deadline in stalls:
                _, line = run(env, args.exe, svc, "stall", deadline)
                print("%-18s %s" % (mode, line), flush=True)
    finally:
        svc.stop()
        env.stop_all()
        if own_state:
            wine_env.cleanup(own_state, quiet=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
