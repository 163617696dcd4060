#!/usr/bin/env python3
"""Runs the exchange tests under Wine against the stand-in service, one test at a time.

For each scenario: put the stand-in into its mode, run one test of the Wine executable, then
check what the stand-in received (methods, paths with queries, headers in order, body bytes).
Each line of the output gives the wall time of the test and of each exchange it timed.

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


def current_get(svc, reqs):
    count(1)(svc, reqs)
    r = reqs[0]
    expect(r["method"] == "GET" and r["service"] == "google_current", r)
    expect(r["text"] == "Hello. World." and r["body"] == b"", r)
    order = [n for n in names(r) if n in ("x-first", "user-agent", "x-third")]
    expect(order == ["x-first", "user-agent", "x-third"], r["headers"])
    expect(header(r, "User-Agent") == "Zelvane", r["headers"])


POSTED = ('["Open File","A &amp; B","\u4e2d\u00fc\U0001F600 \\\" \\u0001"]').encode("utf-8")


def current_post(svc, reqs):
    count(1)(svc, reqs)
    r = reqs[0]
    expect(r["method"] == "POST" and r["service"] == "microsoft_current", r)
    expect(r["body"] == POSTED, "body %r, sent %r" % (r["body"], POSTED))
    expect(r["texts"] == ["Open File", "A &amp; B", "\u4e2d\u00fc\U0001F600 \" \x01"], r["texts"])
    expect(header(r, "Content-Type") == "application/json", r["headers"])
    expect(header(r, "Content-Length") == str(len(POSTED)), r["headers"])
    order = [n for n in names(r) if n in ("content-type", "x-second")]
    expect(order == ["content-type", "x-second"], r["headers"])


def get_then_post(svc, reqs):
    count(2)(svc, reqs)
    expect([(r["method"], r["service"]) for r in reqs] ==
           [("GET", "google_current"), ("POST", "microsoft_current")], reqs)
    expect(reqs[1]["body"] == b'["Hello"]', reqs[1])


SHORT = {"ZELVANE_TEST_DEADLINE_MS": "1500"}


def scenario(test, mode="ok", params=None, check=None, host=True, env=None):
    return (test, mode, params or {}, check, host, env or {})


# One test of the executable per row, with the stand-in in `mode` and the extra environment.
SCENARIOS = [
    scenario("GoogleReturnsTranslationAsGbk", check=google_request),
    scenario("MicrosoftReturnsTranslationAsGbk", check=microsoft_request),
    scenario("RepliesAreKeptByteForByte", check=byte_for_byte_requests),
    scenario("HeadersGoOutInListOrder", check=headers_in_order),
    scenario("DirectionsOutsideTheTableSendNothing", check=count(0)),
    scenario("FailedExchangesGiveEmptyTexts", "refuse", check=count(0)),
    # Through the translator: Google's two routes and Microsoft's current one for the first
    # text, then Microsoft's original; each failed route rests, so the second round asks none.
    scenario("FailedExchangesGiveEmptyTexts", "http500", check=count(4)),
    scenario("FailedExchangesGiveEmptyTexts", "no_markers", check=count(4)),
    # An empty translation is an answer, not a failure: the current routes do not rest and are
    # asked again for the Microsoft engine (its original route first).
    scenario("FailedExchangesGiveEmptyTexts", "empty_segment", check=count(6)),
    scenario("FailedExchangesGiveEmptyTexts", "close_mid"),
    scenario("FailedExchangesGiveEmptyTexts", "black_hole", check=count(4), env=SHORT),
    scenario("ErrorStatusBodyIsReturnedAsText", "http500", check=count(1)),
    # Every route stalls: each of the three the Google engine tries is cut at the deadline.
    scenario("SlowReplyEndsAtTheDeadline", "slow", {"delay": 40}, count(3), env=SHORT),
    scenario("HugeReplyIsTakenWhole", "huge", check=count(2)),
    scenario("UnsetHostReachesNoService", check=count(0), host=False),
    scenario("GetGoesOutWithHeadersInOrder", check=current_get),
    scenario("PostSendsTheBodyBytesAsTheyAre", check=current_post),
    scenario("StatusAndBodyComeBackWhateverTheStatus", check=get_then_post,
             env={"ZELVANE_EXPECT_STATUS": "200"}),
] + [
    scenario("StatusAndBodyComeBackWhateverTheStatus", mode, check=get_then_post,
             env={"ZELVANE_EXPECT_STATUS": status})
    for mode, status in (("http403", "403"), ("http404", "404"), ("http500", "500"))
] + [
    scenario("RefusedConnectionIsNoAnswerAtOnce", "refuse", check=count(0)),
    scenario("ExchangeEndsAtTheDeadline", "black_hole", check=get_then_post),
    scenario("ExchangeEndsAtTheDeadline", "slow", {"delay": 60, "stall": "headers"},
             get_then_post),
    scenario("ExchangeEndsAtTheDeadline", "slow_body", {"delay": 60}, get_then_post),
    scenario("HugeReplyIsReadWhole", "huge", check=count(1)),
]


def main():
    exe = sys.argv[1]
    env = WineEnv.from_environment()
    svc = StandInService().start()
    failures = []
    try:
        for test, mode, params, check, give_host, more_env in SCENARIOS:
            label = "%s [%s]" % (test, mode)
            svc.set_mode(mode, **params)
            svc.clear()
            extra = {"ZELVANE_TEST_SERVICE_HOST": svc.host} if give_host else {}
            if not give_host:
                extra["ZELVANE_TEST_SERVICE_HOST"] = ""
            extra.update(more_env)
            started = time.monotonic()
            rc, output = env.run([exe, "--gtest_filter=Exchange." + test], timeout=120,
                                 extra_env=extra)
            took = time.monotonic() - started
            try:
                expect(rc == 0, "exit code %r\n%s" % (rc, output))
                expect("[  PASSED  ] 1 test" in output, "the test did not run:\n" + output)
                if check:
                    check(svc, svc.requests())
                exchanges = [line.split()[2] for line in output.splitlines()
                             if line.startswith("exchange took ")]
                print("ok   %-55s %5.1f s%s" % (label, took, ("  exchanges (ms): " +
                      " ".join(exchanges)) if exchanges else ""), flush=True)
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
