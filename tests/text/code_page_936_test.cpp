// The boundary conversions, one table built twice: natively over the iconv stand-in and for
// Windows over MultiByteToWideChar / WideCharToMultiByte (run under Wine). Rows where the two
// converters treat broken input differently say so with DIFFERS.
#include "text/code_page_936.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

#ifdef _WIN32
#define DIFFERS(native, windows) windows
#else
#define DIFFERS(native, windows) native
#endif

// Texts that have a GBK form: the bytes and the UTF-16 convert into each other both ways.
struct RoundTripCase {
  const char* name;
  AnsiText gbk;
  std::u16string utf16;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class Cp936RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(Cp936RoundTrip, BytesToUtf16) {
  EXPECT_EQ(cp936::ToUtf16(GetParam().gbk), GetParam().utf16);
}

TEST_P(Cp936RoundTrip, Utf16ToBytes) {
  EXPECT_EQ(cp936::FromUtf16(GetParam().utf16), std::optional<AnsiText>(GetParam().gbk));
  EXPECT_EQ(cp936::FromUtf16Lossy(GetParam().utf16), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp936RoundTrip,
    ::testing::Values(
        RoundTripCase{"Empty", "", u""},
        RoundTripCase{"Ascii", "Az 9~", u"Az 9~"},
        RoundTripCase{"LineBreaksAndTab", "a\r\nb\t", u"a\r\nb\t"},
        RoundTripCase{"NulInsideStays", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        RoundTripCase{"Gb2312Hanzi", "\xC4\xE3\xBA\xC3", u"\u4F60\u597D"},  // 你好
        RoundTripCase{"GbkOnlyHanzi", "\x81\x40", u"\u4E02"},                // 丂
        RoundTripCase{"DotStroke", "\xD8\xBC", u"\u4E36"},                   // 丶
        RoundTripCase{"FullWidthSpace", "\xA1\xA1", u"\u3000"},
        RoundTripCase{"Arrow", "\xD3\xA2 \xA1\xFA \xD6\xD0", u"\u82F1 \u2192 \u4E2D"},  // 英 → 中
        RoundTripCase{"Kana", "\xA4\xA2\xA5\xA2", u"\u3042\u30A2"},  // あア
        RoundTripCase{"Byte80IsEuroSign", "\x80", u"\u20AC"},
        // The start signal's section name: eight full-width characters, "Ｓｕｐｅｒ－ＥＣ".
        RoundTripCase{"FullWidthLetters",
                      "\xA3\xD3\xA3\xF5\xA3\xF0\xA3\xE5\xA3\xF2\xA3\xAD\xA3\xC5\xA3\xC3",
                      u"\uFF33\uFF55\uFF50\uFF45\uFF52\uFF0D\uFF25\uFF23"}),
    [](const auto& info) { return std::string(info.param.name); });

// Texts with a character that has no GBK form: the strict conversion refuses the whole text,
// the lossy one puts '?' in the character's place.
struct NoGbkFormCase {
  const char* name;
  std::u16string utf16;
  AnsiText lossy;
};

void PrintTo(const NoGbkFormCase& c, std::ostream* os) { *os << c.name; }

class Cp936NoGbkForm : public ::testing::TestWithParam<NoGbkFormCase> {};

TEST_P(Cp936NoGbkForm, StrictRefusesWholeText) {
  EXPECT_EQ(cp936::FromUtf16(GetParam().utf16), std::nullopt);
}

TEST_P(Cp936NoGbkForm, LossyMarksTheCharacter) {
  EXPECT_EQ(cp936::FromUtf16Lossy(GetParam().utf16), GetParam().lossy);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp936NoGbkForm,
    ::testing::Values(
        NoGbkFormCase{"Korean", u"\uD55C\uAD6D\uC5B4 \uC124\uC815", "??? ??"},  // 한국어 설정
        NoGbkFormCase{"OneKoreanAmongHanzi", u"\u4F60\uD55C", "\xC4\xE3?"},     // 你한
        // Windows first tries its best-fit table, as the ANSI calls do on a code page 936
        // system (À becomes à, A8 A4); the iconv stand-in has none. The strict form refuses.
        NoGbkFormCase{"AccentedCapital", u"\u00C0", DIFFERS("?", "\xA8\xA4")},
        NoGbkFormCase{"Emoji", u"a\U0001F600b", "a??b"},  // one '?' per UTF-16 unit
        NoGbkFormCase{"UnpairedSurrogate", u"a\xD800" u"b", "a?b"}),
    [](const auto& info) { return std::string(info.param.name); });

// Broken GBK bytes still give a text: each undecodable piece becomes a replacement.
struct BrokenGbkCase {
  const char* name;
  AnsiText gbk;
  std::u16string utf16;
};

void PrintTo(const BrokenGbkCase& c, std::ostream* os) { *os << c.name; }

class Cp936BrokenBytes : public ::testing::TestWithParam<BrokenGbkCase> {};

TEST_P(Cp936BrokenBytes, Replaced) { EXPECT_EQ(cp936::ToUtf16(GetParam().gbk), GetParam().utf16); }

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp936BrokenBytes,
    ::testing::Values(
        BrokenGbkCase{"LeadByteAtEnd", "a\x81", u"a?"},
        // iconv replaces the lead byte alone; Windows drops the pair.
        BrokenGbkCase{"InvalidTrailByte", "\x81\x7F" "b", DIFFERS(u"?\x7F" u"b", u"?b")},
        // Windows maps the unassigned byte FF to the private-use U+F8F5; iconv rejects it.
        BrokenGbkCase{"ByteFF", "\xFF" "c", DIFFERS(u"?c", u"\uF8F5c")}),
    [](const auto& info) { return std::string(info.param.name); });

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }

class Utf8RoundTrip : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8RoundTrip, BothWays) {
  EXPECT_EQ(utf8::FromUtf16(GetParam().utf16), GetParam().utf8);
  EXPECT_EQ(utf8::ToUtf16(GetParam().utf8), std::optional<std::u16string>(GetParam().utf16));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8RoundTrip,
    ::testing::Values(
        Utf8Case{"Empty", "", u""},
        Utf8Case{"Ascii", "Save As", u"Save As"},
        Utf8Case{"Hanzi", "\xE4\xBD\xA0\xE5\xA5\xBD", u"\u4F60\u597D"},              // 你好
        Utf8Case{"Korean", "\xED\x95\x9C", u"\uD55C"},                                 // 한
        Utf8Case{"Emoji", "\xF0\x9F\x98\x80", u"\U0001F600"},
        Utf8Case{"NulInsideStays", std::string("a\0b", 3), std::u16string(u"a\0b", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8FromUtf16, UnpairedSurrogateBecomesReplacementCharacter) {
  EXPECT_EQ(utf8::FromUtf16(u"a\xDC00"), "a\xEF\xBF\xBD");
}

struct BadUtf8Case {
  const char* name;
  std::string bytes;
};

void PrintTo(const BadUtf8Case& c, std::ostream* os) { *os << c.name; }

class Utf8Refused : public ::testing::TestWithParam<BadUtf8Case> {};

TEST_P(Utf8Refused, GivesNothing) { EXPECT_EQ(utf8::ToUtf16(GetParam().bytes), std::nullopt); }

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8Refused,
    ::testing::Values(BadUtf8Case{"StrayContinuation", "a\x80"},
                      BadUtf8Case{"CutShort", "\xE4\xBD"},
                      BadUtf8Case{"Overlong", "\xC0\xAF"},
                      BadUtf8Case{"GbkBytes", "\xC4\xE3\xBA\xC3"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
