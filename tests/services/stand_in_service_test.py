#!/usr/bin/env python3
"""The stand-in service on its own, through urllib: reply formats, records and failure modes."""
import http.client
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
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
GOOGLE_CURRENT = ("/translate_a/single?client=dict-chrome-ex&sl=en&tl=zh-CN&dt=t&ie=UTF-8"
                  "&oe=UTF-8&q=%s")
MICROSOFT_CURRENT = "/translate/translatetext?from=en&to=zh-Hans&isEnterpriseClient=false"


def quote_all(text):
    return "".join("%%%02X" % b for b in text.encode("utf-8"))


class StandInServiceTest(unittest.TestCase):
    def setUp(self):
        self.svc = StandInService().start()

    def tearDown(self):
        self.svc.stop()

    def get(self, path, headers=(), timeout=10, method="GET", body=None, conn=None):
        if conn is None:
            conn = http.client.HTTPConnection("127.0.0.1", self.svc.port, timeout=timeout)
        try:
            conn.putrequest(method, path, skip_accept_encoding=True)
            for name, value in headers:
                conn.putheader(name, value)
            if body is not None:
                conn.putheader("Content-Length", str(len(body)))
            conn.endheaders(body)
            reply = conn.getresponse()
            return reply.status, reply.getheader("Content-Type"), reply.read()
        finally:
            conn.close()

    def post(self, texts, raw=None, **kwargs):
        body = raw if raw is not None else json.dumps(texts, ensure_ascii=False).encode("utf-8")
        return self.get(MICROSOFT_CURRENT, headers=[("Content-Type", "application/json")],
                        method="POST", body=body, **kwargs)

    def status_of_each_route(self):
        return {
            "google": self.get(GOOGLE % quote_all("Hello"))[0],
            "microsoft": self.get(MICROSOFT % quote_all("Hello"))[0],
            "google_current": self.get(GOOGLE_CURRENT % quote_all("Hello"))[0],
            "microsoft_current": self.post(["Hello"])[0],
        }

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

    def test_google_current_route_answers_sentence_by_sentence(self):
        cases = [
            ("Hello", [["你好", "Hello", None, None, 10]]),
            ("Hello. World.", [["你好。", "Hello. ", None, None, 10],
                               ["世界。", "World.", None, None, 10]]),
            ("Hello. Foo bar.  Open", [["你好。", "Hello. ", None, None, 10],
                                       ["译Foo bar.  ", "Foo bar.  ", None, None, 10],
                                       ["打开", "Open", None, None, 10]]),
            ('a "b" <c>', [['译a "b" <c>', 'a "b" <c>', None, None, 10]]),
            ("", [["译", "", None, None, 10]]),
        ]
        for text, segments in cases:
            with self.subTest(text=text):
                status, ctype, body = self.get(GOOGLE_CURRENT % quote_all(text))
                self.assertEqual(status, 200)
                self.assertIn("charset=utf-8", ctype.lower())
                self.assertEqual(json.loads(body.decode("utf-8")), [segments, None, "en"])
                self.assertEqual("".join(t for t, _ in stand_in_service.google_current_segments(
                    text)), "".join(seg[0] for seg in segments))
        # Angle brackets are escaped the way Google writes them.
        self.assertIn(b"\\u003cc\\u003e", self.get(GOOGLE_CURRENT % quote_all("<c>"))[2])

    def test_microsoft_current_route_answers_one_object_per_text(self):
        status, ctype, body = self.post(["Open File", "A &amp; &lt;B&gt;", "Cancel", ""])
        self.assertEqual(status, 200)
        self.assertIn("application/json", ctype)
        reply = json.loads(body.decode("utf-8"))
        self.assertEqual([r["translations"] for r in reply], [
            [{"text": "打开文件", "to": "zh-Hans"}],
            [{"text": "译A &amp; &lt;B&gt;", "to": "zh-Hans"}],
            [{"text": "取消", "to": "zh-Hans"}],
            [{"text": "译", "to": "zh-Hans"}],
        ])
        self.assertEqual(reply[0]["detectedLanguage"], {"language": "en", "score": 1})
        # The entities are decoded before translating: "&" is a dictionary text.
        stand_in_service.DICTIONARY["R&D"] = "研发"
        try:
            self.assertIn('"text":"研发"', self.post(["R&amp;D"])[2].decode("utf-8"))
        finally:
            del stand_in_service.DICTIONARY["R&D"]

    def test_microsoft_current_route_refuses_a_body_that_is_no_list_of_texts(self):
        for raw in (b"", b"{}", b'["a", 1]', b"\xff[]", b'["a"'):
            with self.subTest(raw=raw):
                self.assertEqual(self.post(None, raw=raw)[0], 400)

    def test_records_method_body_and_texts_of_every_route(self):
        body = json.dumps(["Open", "a &amp; b"]).encode("utf-8")
        self.get(GOOGLE_CURRENT % quote_all("Hi. Yes"), headers=[("X-A", "1"), ("X-B", "2")])
        self.post(None, raw=body)
        self.post(["只"])
        self.get(MICROSOFT_CURRENT)  # the POST route asked with GET: not a route
        google, microsoft, single, wrong = self.svc.requests()
        self.assertEqual((google["method"], google["service"], google["text"], google["texts"],
                          google["body"]), ("GET", "google_current", "Hi. Yes", ["Hi. Yes"], b""))
        self.assertEqual([n for n, _ in google["headers"] if n.startswith("X-")], ["X-A", "X-B"])
        self.assertEqual((microsoft["method"], microsoft["service"], microsoft["path"]),
                         ("POST", "microsoft_current", MICROSOFT_CURRENT))
        self.assertEqual(microsoft["body"], body)
        self.assertEqual((microsoft["text"], microsoft["texts"]), (None, ["Open", "a &amp; b"]))
        self.assertEqual((single["text"], single["texts"]), ("只", ["只"]))
        self.assertEqual((wrong["method"], wrong["service"]), ("GET", None))

    def test_modes_per_route(self):
        everything_ok = {"google": 200, "microsoft": 200, "google_current": 200,
                         "microsoft_current": 200}
        cases = [
            # The original routes as they answer today.
            ([("http403", "google"), ("http404", "microsoft")],
             dict(everything_ok, google=403, microsoft=404)),
            ([("http500", stand_in_service.GOOGLE_ROUTES)],
             dict(everything_ok, google=500, google_current=500)),
            ([("http500", None)], {k: 500 for k in everything_ok}),
            ([("http500", None), ("ok", "microsoft_current")],
             dict({k: 500 for k in everything_ok}, microsoft_current=200)),
            ([("http404", stand_in_service.ORIGINAL_ROUTES), ("ok", None)], everything_ok),
        ]
        for settings, expected in cases:
            with self.subTest(settings=settings):
                self.svc.set_mode("ok")
                for mode, service in settings:
                    self.svc.set_mode(mode, service=service)
                self.assertEqual(self.status_of_each_route(), expected)
        with self.assertRaises(ValueError):
            self.svc.set_mode("refuse", service="google")
        with self.assertRaises(ValueError):
            self.svc.set_mode("ok", service="bing")

    def test_error_pages_of_the_current_routes(self):
        for mode, status, words in [("http403", 403, b"That's an error"),
                                    ("http404", 404, b"404 - File or directory not found")]:
            with self.subTest(mode=mode):
                self.svc.set_mode(mode)
                for reply in (self.get(GOOGLE_CURRENT % "x"), self.post(["x"])):
                    self.assertEqual(reply[0], status)
                    self.assertIn("text/html", reply[1])
                    self.assertIn(words, reply[2])

    def test_failure_modes_of_the_current_routes(self):
        for mode, check in [
            ("no_markers", lambda s, b: s == 200 and b'"translations"' not in b
             and b'[["' not in b),
            ("empty_segment", lambda s, b: s == 200 and (b'[[["",' in b or b'"text":""' in b)),
            ("huge", lambda s, b: s == 200 and len(b) > 6 * 1024 * 1024),
        ]:
            with self.subTest(mode=mode):
                self.svc.set_mode(mode)
                for status, _, body in (self.get(GOOGLE_CURRENT % "Hello"), self.post(["Hi"])):
                    self.assertTrue(check(status, body), (status, body[:200]))
        self.svc.set_mode("close_mid")
        for ask in (lambda: self.get(GOOGLE_CURRENT % "Hello"), lambda: self.post(["Hi"])):
            with self.assertRaises(http.client.IncompleteRead):
                ask()

    def test_black_hole_takes_the_request_and_answers_nothing(self):
        self.svc.set_mode("black_hole", service="microsoft_current")
        self.assertEqual(self.get(GOOGLE_CURRENT % "Hello")[0], 200)
        with socket.create_connection(("127.0.0.1", self.svc.port), timeout=5) as sock:
            body = b'["Hello"]'
            sock.sendall(b"POST " + MICROSOFT_CURRENT.encode() + b" HTTP/1.1\r\nHost: x\r\n"
                         b"Content-Length: %d\r\n\r\n" % len(body) + body)
            sock.settimeout(1.0)
            with self.assertRaises(socket.timeout):
                sock.recv(1)  # not even a status line
            self.assertEqual(self.svc.requests()[-1]["texts"], ["Hello"])
            # Setting a mode again lets it go: the connection ends without an answer.
            self.svc.set_mode("ok")
            sock.settimeout(5)
            self.assertEqual(sock.recv(1), b"")

    def test_slow_body_sends_headers_and_half_then_stalls(self):
        self.svc.set_mode("slow_body", delay=0.5)
        conn = http.client.HTTPConnection("127.0.0.1", self.svc.port, timeout=10)
        try:
            conn.request("GET", GOOGLE_CURRENT % "Hello")
            started = time.monotonic()
            reply = conn.getresponse()
            self.assertEqual(reply.status, 200)
            length = int(reply.getheader("Content-Length"))
            first = reply.read(length // 2)
            self.assertLess(time.monotonic() - started, 0.5)
            rest = reply.read()
            self.assertGreaterEqual(time.monotonic() - started, 0.5)
        finally:
            conn.close()
        self.assertEqual(json.loads((first + rest).decode("utf-8"))[0][0][0], "你好")

    def test_reply_delay_holds_every_answer(self):
        self.svc.set_reply_delay(0.3)
        for ask in (lambda: self.get(GOOGLE % "Hi"), lambda: self.post(["Hi"])):
            started = time.monotonic()
            self.assertEqual(ask()[0], 200)
            self.assertGreaterEqual(time.monotonic() - started, 0.3)

    def test_log_keeps_every_request_as_a_json_line(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "log")
            svc = StandInService(log_path=path).start()
            try:
                self.svc, saved = svc, self.svc
                self.post(None, raw=b'["a"]\xff')
                self.get(GOOGLE % "Hi")
            finally:
                self.svc = saved
                svc.stop()
            with open(path, encoding="utf-8") as log:
                lines = [json.loads(line) for line in log]
        self.assertEqual([(e["method"], e["service"]) for e in lines],
                         [("POST", "microsoft_current"), ("GET", "google")])
        self.assertEqual(lines[0]["body"], '["a"]\\xff')

    def test_dictionary_is_a_plain_dict_others_can_extend(self):
        stand_in_service.DICTIONARY["Print"] = "打印"
        try:
            self.assertEqual(stand_in_service.translate("Print"), "打印")
        finally:
            del stand_in_service.DICTIONARY["Print"]
        self.assertEqual(stand_in_service.translate("Print"), "译Print")


class TlsStandInTest(unittest.TestCase):
    """Plain HTTP and HTTPS at once, with one record and one mode."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        cls.cert = os.path.join(cls.folder, "cert.pem")
        cls.key = os.path.join(cls.folder, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                        "-subj", "/CN=localhost", "-addext", "subjectAltName=IP:127.0.0.1",
                        "-keyout", cls.key, "-out", cls.cert],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder)

    def ask(self, conn, path):
        try:
            conn.request("GET", path)
            reply = conn.getresponse()
            return reply.status, reply.read()
        finally:
            conn.close()

    def test_both_ports_share_record_and_mode(self):
        svc = StandInService(tls_port=0, cert=self.cert, key=self.key).start()
        try:
            context = ssl.create_default_context(cafile=self.cert)
            tls = lambda: http.client.HTTPSConnection("127.0.0.1", svc.tls_port, timeout=10,
                                                      context=context)
            plain = lambda: http.client.HTTPConnection("127.0.0.1", svc.port, timeout=10)
            self.assertNotEqual(svc.port, svc.tls_port)
            status, body = self.ask(tls(), GOOGLE_CURRENT % "Hello")
            self.assertEqual((status, json.loads(body)[0][0][0]), (200, "你好"))
            self.assertEqual(self.ask(plain(), GOOGLE % "Hello")[0], 200)
            self.assertEqual([r["service"] for r in svc.requests()], ["google_current", "google"])
            svc.set_mode("http403", service="google")
            self.assertEqual(self.ask(tls(), GOOGLE % "Hello")[0], 403)
            # Refused and back, on the same two ports.
            ports = (svc.port, svc.tls_port)
            svc.set_mode("refuse")
            for port in ports:
                with self.assertRaises(ConnectionRefusedError):
                    socket.create_connection(("127.0.0.1", port), timeout=5).close()
            svc.set_mode("ok")
            self.assertEqual((svc.port, svc.tls_port), ports)
            self.assertEqual(self.ask(tls(), GOOGLE % "Hello")[0], 200)
            # A client that never starts its handshake holds up no other client.
            with socket.create_connection(("127.0.0.1", svc.tls_port), timeout=5):
                self.assertEqual(self.ask(tls(), GOOGLE % "Hello")[0], 200)
        finally:
            svc.stop()

    def test_command_line_serves_both_and_writes_both_ports(self):
        port_file = os.path.join(self.folder, "ports")
        script = stand_in_service.__file__
        proc = subprocess.Popen([sys.executable, script, "--tls-port", "0", "--cert", self.cert,
                                 "--key", self.key, "--port-file", port_file,
                                 "--mode", "http404"],
                                stdout=subprocess.DEVNULL)
        try:
            def ports():
                if not os.path.exists(port_file):
                    return []
                with open(port_file, encoding="ascii") as f:
                    return f.read().split()
            for _ in range(100):
                if len(ports()) == 2:
                    break
                time.sleep(0.1)
            port, tls_port = (int(p) for p in ports())
            context = ssl.create_default_context(cafile=self.cert)
            self.assertEqual(self.ask(http.client.HTTPSConnection(
                "127.0.0.1", tls_port, timeout=10, context=context), GOOGLE % "Hi")[0], 404)
            self.assertEqual(self.ask(http.client.HTTPConnection(
                "127.0.0.1", port, timeout=10), GOOGLE % "Hi")[0], 404)
        finally:
            proc.terminate()
            proc.wait(timeout=10)


if __name__ == "__main__":
    unittest.main()
