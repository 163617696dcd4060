#include "services/query_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct EncodeCase {
  const char* name;
  AnsiText text;
  AnsiText encoded;
};

void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

class EncodeQueryTextTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeQueryTextTest, EncodesEveryUtf8ByteAsUpperCaseHex) {
  EXPECT_EQ(EncodeQueryText(GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    KnownAnswers, EncodeQueryTextTest,
    ::testing::Values(
        EncodeCase{"Empty", "", ""},
        EncodeCase{"Letter", "A", "%41"},
        EncodeCase{"Tab", "\t", "%09"},
        EncodeCase{"CrLf", "\r\n", "%0D%0A"},
        EncodeCase{"SpaceIsNeverPlus", "a b", "%61%20%62"},
        EncodeCase{"LettersDigitsPunctuation", "Az9-_.~", "%41%7A%39%2D%5F%2E%7E"},
        EncodeCase{"MixedAsciiAndHanzi", "Hi \xC4\xE3", "%48%69%20%E4%BD%A0"},  // "Hi 你"
        EncodeCase{"FullWidthSpace", "\xA1\xA1", "%E3%80%80"},                  // "　"
        EncodeCase{"GbkOnlyCharacter", "\x81\x40", "%E4%B8%82"},                // 丂
        EncodeCase{"StopsAtEmbeddedNul", std::string("ab\0cd", 5), "%61%62"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeQueryText, GivesThreeCharactersPerUtf8Byte) {
  for (const AnsiText& text : {AnsiText("x"), AnsiText("Hello, world"),
                               AnsiText("\xC4\xE3\xBA\xC3"),  // 你好: 6 UTF-8 bytes
                               AnsiText(5000, 'q')}) {
    const ByteArray utf8 = AnsiToUtf8Bytes(text);
    ASSERT_FALSE(utf8.empty());
    EXPECT_EQ(EncodeQueryText(text).size(), 3 * (utf8.size() - 1)) << text;
  }
}

TEST(EncodeQueryText, NeverWritesLowerCaseHexDigits) {
  AnsiText all_hanzi;  // one character per GB2312 row, covers every high hex digit in UTF-8
  for (int lead = 0xB0; lead <= 0xF7; ++lead) {
    all_hanzi.push_back(static_cast<char>(lead));
    all_hanzi.push_back(static_cast<char>(0xA1 + (lead % 0x5D)));
  }
  const AnsiText encoded = EncodeQueryText(all_hanzi);
  ASSERT_FALSE(encoded.empty());
  EXPECT_EQ(encoded.find_first_of("abcdef"), AnsiText::npos) << encoded;
}

TEST(AnsiToUtf16Bytes, GivesLittleEndianUnitsAndOneNulUnit) {
  const ByteArray expected = {0x48, 0x00, 0x69, 0x00, 0x20, 0x00, 0x60, 0x4F, 0x00, 0x00};
  EXPECT_EQ(AnsiToUtf16Bytes("Hi \xC4\xE3"), expected);  // "Hi 你"
  EXPECT_EQ(AnsiToUtf16Bytes(""), (ByteArray{0x00, 0x00}));
}

TEST(Utf16ToUtf8Bytes, GivesUtf8AndOneNulByte) {
  const ByteArray expected = {0x48, 0x69, 0x20, 0xE4, 0xBD, 0xA0, 0x00};
  EXPECT_EQ(AnsiToUtf8Bytes("Hi \xC4\xE3"), expected);
  EXPECT_EQ(Utf16ToUtf8Bytes({}), ByteArray{});
}

TEST(Utf16ToUtf8Bytes, StaysInsideAnArrayWithoutNulUnit) {
  // Two units of "ab" and no terminator: the conversion must not look past them.
  const ByteArray no_terminator = {0x61, 0x00, 0x62, 0x00};
  EXPECT_EQ(Utf16ToUtf8Bytes(no_terminator), (ByteArray{0x61, 0x62, 0x00}));
}

}  // namespace
