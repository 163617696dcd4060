#!/usr/bin/env python3
"""Runs the exchange tests under Wine against the stand-in service, one test at a time.

For each scenario: put the stand-in into its mode, run one test of the Wine executable, then
check what the stand-in received (paths with queries, headers in order).

usage: exchange_wine_driver.py EXCHANGE_TEST_EXE
"""
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))

from stand_in_service import StandInService  # noqa: E402
from wine_env import WineEnv  # noqa: E402

GOOGLE_UA = ("Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; QQDownload 663; "
             "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1) ; .NET CLR 2.0.50727)")
APP_ID = "7A1C0E93F6B8D2A4C5E7091B3D6F8A2C4E0B7D19"
HELLO = "%48%65%6C%6C%6F"


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def names(request):
    return [name.lower() for name, _ in request["headers"]]


def header(request, name):
    values = [v for n, v in request["headers"] if n.lower() == name.lower()]
    expect(len(values) == 1, "expected one %s header, got %r" % (name, request["headers"]))
    return values[0]


def count(n):
    def check(svc, reqs):
        expect(len(reqs) == n, "expected %d requests, got %d: %r" % (n, len(reqs), reqs))
    return check


def google_request(svc, reqs):
    count(1)(svc, reqs)
    r = reqs[0]
    expect(r["service"] == "google" and r["text"] == "Hello", r)
    expect(r["path"] == "/translate_a/t?client=t&text=" + HELLO +
           "&hl=zh-CN&multires=1&otf=1&pc=0&sc=1&sl=en&tl=zh-CN", r["path"])
    expect(header(r, "Referer") == "http://%s/" % svc.host, r["headers"])
    expect(header(r, "User-Agent") == GOOGLE_UA, r["headers"])
    order = names(r)
    expect(order.index("referer") < order.index("user-agent"),
           "Referer must go before User-Agent: %r" % r["headers"])


def microsoft_request(svc, reqs):
    count(1)(svc, reqs)
    r = reqs[0]
    expect(r["service"] == "microsoft" and r["text"] == "Hello", r)
    expect(r["path"] == "/v2/Http.svc/Translate?appId=" + APP_ID + "&text=" + HELLO +
           "&from=&to=zh-CHS", r["path"])
    expect("referer" not in names(r), "the client set a Referer: %r" % r["headers"])
    agents = [v for n, v in r["headers"] if n.lower() == "user-agent"]
    expect(GOOGLE_UA not in agents, "the client set a User-Agent: %r" % r["headers"])


def byte_for_byte_requests(svc, reqs):
    count(2)(svc, reqs)
    expect(reqs[0]["service"] == "google" and reqs[0]["text"] == 'a "b" <c>', reqs[0])
    expect(reqs[1]["service"] == "microsoft" and reqs[1]["text"] == "A & B", reqs[1])


def headers_in_order(svc, reqs):
    count(1)(svc, reqs)
    order = [n for n in names(reqs[0]) if n.startswith("x-")]
    expect(order == ["x-first", "x-second", "x-third"], reqs[0]["headers"])


# (test name, stand-in mode, mode parameters, check of the requests, host given to the exe)
SCENARIOS = [
    ("GoogleReturnsTranslationAsGbk", "ok", {}, google_request, True),
    ("MicrosoftReturnsTranslationAsGbk", "ok", {}, microsoft_request, True),
    ("RepliesAreKeptByteForByte", "ok", {}, byte_for_byte_requests, True),
    ("HeadersGoOutInListOrder", "ok", {}, headers_in_order, True),
    ("DirectionsOutsideTheTableSendNothing", "ok", {}, count(0), True),
    ("FailedExchangesGiveEmptyTexts", "refuse", {}, count(0), True),
    ("FailedExchangesGiveEmptyTexts", "http500", {}, count(4), True),
    ("FailedExchangesGiveEmptyTexts", "no_markers", {}, count(4), True),
    ("FailedExchangesGiveEmptyTexts", "empty_segment", {}, count(4), True),
    ("FailedExchangesGiveEmptyTexts", "close_mid", {}, None, True),
    ("ErrorStatusBodyIsReturnedAsText", "http500", {}, count(1), True),
    ("SlowReplyEndsAtTheReceiveTimeout", "slow", {"delay": 40}, None, True),
    ("HugeReplyIsTakenWhole", "huge", {}, count(2), True),
    ("UnsetHostReachesNoService", "ok", {}, count(0), False),
]


def main():
    exe = sys.argv[1]
    env = WineEnv.from_environment()
    svc = StandInService().start()
    failures = []
    try:
        for test, mode, params, check, give_host in SCENARIOS:
            label = "%s [%s]" % (test, mode)
            svc.set_mode(mode, **params)
            svc.clear()
            extra = {"ZELVANE_TEST_SERVICE_HOST": svc.host} if give_host else {}
            if not give_host:
                extra["ZELVANE_TEST_SERVICE_HOST"] = ""
            started = time.monotonic()
            rc, output = env.run([exe, "--gtest_filter=Exchange." + test], timeout=120,
                                 extra_env=extra)
            took = time.monotonic() - started
            try:
                expect(rc == 0, "exit code %r\n%s" % (rc, output))
                expect("[  PASSED  ] 1 test" in output, "the test did not run:\n" + output)
                if check:
                    check(svc, svc.requests())
                print("ok   %-55s %5.1f s" % (label, took), flush=True)
            except Failure as failure:
                failures.append(label)
                print("FAIL %s: %s" % (label, failure), flush=True)
    finally:
        svc.stop()
        env.stop_all()
    if failures:
        print("failed: " + ", ".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
