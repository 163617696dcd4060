#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the text fuzz targets into corpus/<target>/.

The targets that take several texts read them with FuzzedDataProvider's
ConsumeRandomLengthString: a part ends at a backslash followed by any other byte, and a
backslash inside a part is written twice. The last part is the rest of the input.
Run it again after changing a seed here; the fuzz runs add their own finds elsewhere.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

NI_HAO = "你好".encode("gbk")
OK_ZH = "确定".encode("gbk")


def parts(*texts):
    out = b""
    for text in texts[:-1]:
        out += text.replace(b"\\", b"\\\\") + b"\\|"
    return out + texts[-1]


SEEDS = {
    "fuzz_clean_translation": {
        "escapes": parts(b"\\r", b"\r\n", b"a\\rb\\Rc\\nd"),
        "letters_without_case": parts(b"ab", b"_", b"xABcabX"),
        "second_byte_backslash": parts(b"\\", b"", b"\x95\x5C\\"),
        "lone_lead_walked": parts(b"z", b"", b"ab\xC8"),
        "lone_lead_in_tail": parts(b"zz", b"", b"ab\xC8"),
        "full_width_ampersand": parts(b"\xA3\xA6", b"", b"a\xA3\xA6b"),
        "google_reply": parts(b"u003c", b"", b'[[["\\u003cb\\u003e' + NI_HAO +
                              b'\\u003c/b\\u003e (1) 100% \xA3\xA6 &","hello",null]]] u00u003c3c'),
    },
    "fuzz_text_between": {
        "google_reply": parts(b'[[["', b'","', b'[[["' + NI_HAO + b'","hello",null,null,1]]'),
        "microsoft_reply": parts(b'"text":"', b'"',
                                 b'[{"translations":[{"text":"' + NI_HAO + b'","to":"zh-Hans"}]}]'),
        "second_byte_backslash": parts(b"\\", b"\\", b"\x95\x5Cab\\cd\\"),
        "start_marker_at_end": parts(b"a", b"b", b"xa"),
        "double_byte_marker": parts(OK_ZH, b"\xA1\xA3", b"x" + OK_ZH + b"abc\xA1\xA3"),
    },
    "fuzz_query_encoding": {
        "ascii": b"Hello World 100%",
        "chinese": NI_HAO + b" " + OK_ZH,
        "lone_lead": b"abc\xC8",
        "undecodable": b"\x80\xFF\x81\x30",
        "nul_inside": b"ab\x00cd",
    },
    "fuzz_chinese_character": {
        "first_hanzi": b"\xB0\xA1",
        "empty_cell": b"\xD7\xFA",
        "without_reading": b"\xD8\xBC",
        "gbk_only": b"\x81\x40",
        "ascii_first": b"OK" + OK_ZH,
        "hanzi_first": OK_ZH,
    },
    # Integers are read from the end: the last byte picks the kind of input (0: any Google
    # body, 1: any Microsoft body, its text count in the byte before; 2 and 3: well-formed
    # replies made from the texts in front).
    "fuzz_current_routes": {
        "google_reply": '[[["你好","hello",null,null,1],["世界"," world",null]],null,"en"]'
                        .encode("utf-8") + b"\x00",
        "google_null_segment": b'[[[null,"x"],["a","b"]],null]\x00',
        "google_no_gbk_form": '[[["한국어","x"]]]'.encode("utf-8") + b"\x00",
        "google_malformed": b'[[["abc\x00',
        "microsoft_reply": ('[{"translations":[{"text":"你好","to":"zh-Hans"}]},'
                            '{"translations":[{"text":"&lt;b&gt; &amp;","to":"zh-Hans"}]}]')
                           .encode("utf-8") + b"\x02\x01",
        "microsoft_wrong_count": b'[{"translations":[{"text":"a","to":"zh-Hans"}]}]\x02\x01',
        "made_replies": parts(b"a<b>&c", NI_HAO, b"x&amp;y") + b"\x03\x02",
    },
    "fuzz_code_page_936": {
        "gbk": NI_HAO + b"abc",
        "euro_and_space": b"\x80\xA1\xA1",
        "utf8": "中文".encode("utf-8"),
        "utf8_surrogate": b"\xED\xA0\x80",
        "utf16_pair": b"\x3D\xD8\x00\xDE",
        "utf16_unpaired": b"\x00\xD8a\x00",
    },
}


def main():
    for target, seeds in SEEDS.items():
        folder = os.path.join(HERE, "corpus", target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
