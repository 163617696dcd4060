// One table of texts through the code-page conversions, built twice: natively over the iconv
// stand-in and for Windows over MultiByteToWideChar / WideCharToMultiByte (run under Wine).
// Rows where the two converters treat broken input differently say so with DIFFERS.
#include <gtest/gtest.h>

#include <string>

#include "services/query_encoding.h"

namespace {

#ifdef _WIN32
#define DIFFERS(native, windows) windows
#else
#define DIFFERS(native, windows) native
#endif

struct ConversionCase {
  const char* name;
  AnsiText text;
  ByteArray utf16;  // AnsiToUtf16Bytes, NUL unit included
  AnsiText query;   // EncodeQueryText
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

class CodePageTableTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(CodePageTableTest, Utf16Form) {
  EXPECT_EQ(AnsiToUtf16Bytes(GetParam().text), GetParam().utf16);
}

TEST_P(CodePageTableTest, QueryForm) {
  EXPECT_EQ(EncodeQueryText(GetParam().text), GetParam().query);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageTableTest,
    ::testing::Values(
        ConversionCase{"Ascii", "Az 9~", {0x41, 0, 0x7A, 0, 0x20, 0, 0x39, 0, 0x7E, 0, 0, 0},
                       "%41%7A%20%39%7E"},
        ConversionCase{"Gb2312Hanzi", "\xC4\xE3\xBA\xC3",  // 你好
                       {0x60, 0x4F, 0x7D, 0x59, 0, 0}, "%E4%BD%A0%E5%A5%BD"},
        ConversionCase{"GbkOnlyCharacter", "\x81\x40",  // 丂
                       {0x02, 0x4E, 0, 0}, "%E4%B8%82"},
        ConversionCase{"FullWidthSpace", "\xA1\xA1",  // "　"
                       {0x00, 0x30, 0, 0}, "%E3%80%80"},
        ConversionCase{"Byte80IsEuroSign", "\x80", {0xAC, 0x20, 0, 0}, "%E2%82%AC"},
        ConversionCase{"LeadByteAtEnd", "a\x81",
                       ByteArray{0x61, 0, 0x3F, 0, 0, 0}, "%61%3F"},
        ConversionCase{"InvalidTrailByte", "\x81\x7F" "b",
                       // iconv replaces the lead byte alone; Windows drops the pair.
                       DIFFERS((ByteArray{0x3F, 0, 0x7F, 0, 0x62, 0, 0, 0}),
                               (ByteArray{0x3F, 0, 0x62, 0, 0, 0})),
                       DIFFERS("%3F%7F%62", "%3F%62")},
        // Windows maps the unassigned byte FF to the private-use U+F8F5; iconv rejects it.
        ConversionCase{"ByteFF", "\xFF" "c",
                       DIFFERS((ByteArray{0x3F, 0, 0x63, 0, 0, 0}),
                               (ByteArray{0xF5, 0xF8, 0x63, 0, 0, 0})),
                       DIFFERS("%3F%63", "%EF%A3%B5%63")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
