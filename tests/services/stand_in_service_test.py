#!/usr/bin/env python3
"""The stand-in service on its own, through urllib: reply formats, records and failure modes."""
import http.client
import json
import os
import socket
import sys
import time
import unittest
import urllib.error
import urllib.parse
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))

import stand_in_service  # noqa: E402
from stand_in_service import StandInService  # noqa: E402

GOOGLE = "/translate_a/t?client=t&text=%s&hl=zh-CN&multires=1&otf=1&pc=0&sc=1&sl=auto&tl=zh-CN"
MICROSOFT = "/v2/Http.svc/Translate?appId=X&text=%s&from=&to=zh-CHS"


def quote_all(text):
    return "".join("%%%02X" % b for b in text.encode("utf-8"))


class StandInServiceTest(unittest.TestCase):
    def setUp(self):
        self.svc = StandInService().start()

    def tearDown(self):
        self.svc.stop()

    def get(self, path, headers=(), timeout=10):
        conn = http.client.HTTPConnection("127.0.0.1", self.svc.port, timeout=timeout)
        try:
            conn.putrequest("GET", path, skip_accept_encoding=True)
            for name, value in headers:
                conn.putheader(name, value)
            conn.endheaders()
            reply = conn.getresponse()
            return reply.status, reply.getheader("Content-Type"), reply.read()
        finally:
            conn.close()

    def test_replies_in_each_service_format(self):
        cases = [
            (GOOGLE, "Hello", '[[["你好","Hello",'),
            (GOOGLE, 'a "b" <c>\n',
             '[[["译a \\"b\\" \\u003cc\\u003e\\n","a \\"b\\" \\u003cc\\u003e\\n",'),
            (MICROSOFT, "Cancel", '<string xmlns="http://schemas.microsoft.com/2003/10/'
                                  'Serialization/">取消</string>'),
            (MICROSOFT, "A & <B>", '<string xmlns="http://schemas.microsoft.com/2003/10/'
                                   'Serialization/">译A &amp; &lt;B&gt;</string>'),
        ]
        for path, text, expected in cases:
            with self.subTest(path=path, text=text):
                status, ctype, body = self.get(path % quote_all(text))
                self.assertEqual(status, 200)
                self.assertIn("charset=utf-8", ctype.lower())
                self.assertTrue(body.decode("utf-8").startswith(expected), body.decode("utf-8"))

    def test_records_path_headers_in_order_service_and_text(self):
        path = GOOGLE % quote_all("Hi 你")
        self.get(path, headers=[("Referer", "http://x/"), ("User-Agent", "UA"), ("X-Last", "1")])
        self.get(MICROSOFT % quote_all("File"))
        first, second = self.svc.requests()
        self.assertEqual(first["path"], path)
        self.assertEqual(first["service"], "google")
        self.assertEqual(first["text"], "Hi 你")
        names = [n for n, _ in first["headers"]]
        self.assertLess(names.index("Referer"), names.index("User-Agent"))
        self.assertLess(names.index("User-Agent"), names.index("X-Last"))
        self.assertEqual((second["service"], second["text"]), ("microsoft", "File"))
        self.svc.clear()
        self.assertEqual(self.svc.requests(), [])

    def test_failure_modes(self):
        for mode, check in [
            ("http500", lambda s, b: s == 500 and b"<html" in b.lower() and b'[["' not in b),
            ("no_markers", lambda s, b: s == 200 and b'[["' not in b),
            ("empty_segment", lambda s, b: s == 200 and b.startswith(b'[[["",')),
            ("huge", lambda s, b: s == 200 and len(b) > 4 * 1024 * 1024),
        ]:
            with self.subTest(mode=mode):
                self.svc.set_mode(mode)
                status, _, body = self.get(GOOGLE % quote_all("Hello"))
                self.assertTrue(check(status, body), (status, body[:200]))

    def test_close_mid_reply_breaks_before_the_end_marker(self):
        self.svc.set_mode("close_mid")
        with self.assertRaises(http.client.IncompleteRead) as caught:
            self.get(GOOGLE % quote_all("Hello"))
        self.assertNotIn(b'","', caught.exception.partial)

    def test_slow_reply_waits_at_least_the_delay(self):
        self.svc.set_mode("slow", delay=0.5)
        started = time.monotonic()
        status, _, body = self.get(GOOGLE % quote_all("Hello"))
        self.assertGreaterEqual(time.monotonic() - started, 0.5)
        self.assertEqual(status, 200)
        self.assertIn("你好", body.decode("utf-8"))

    def test_refuse_then_ok_on_the_same_port(self):
        port = self.svc.port
        self.svc.set_mode("refuse")
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", port), timeout=5).close()
        self.svc.set_mode("ok")
        self.assertEqual(self.svc.port, port)
        self.assertEqual(self.get(GOOGLE % quote_all("OK"))[0], 200)

    def test_dictionary_is_a_plain_dict_others_can_extend(self):
        stand_in_service.DICTIONARY["Print"] = "打印"
        try:
            self.assertEqual(stand_in_service.translate("Print"), "打印")
        finally:
            del stand_in_service.DICTIONARY["Print"]
        self.assertEqual(stand_in_service.translate("Print"), "译Print")


if __name__ == "__main__":
    unittest.main()
