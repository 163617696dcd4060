#include "translate_pass/chinese_character.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct StartCase {
  const char* name;
  AnsiText text;
  bool expected;
};

class StartsWithChineseCharacterTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartsWithChineseCharacterTest, LooksAtTheFirstCharacterOnly) {
  EXPECT_EQ(StartsWithChineseCharacter(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartsWithChineseCharacterTest,
    ::testing::Values(
        StartCase{"Queding", "\xC8\xB7\xB6\xA8", true},                // 确定
        StartCase{"QuedingThenLatin", "\xC8\xB7\xB6\xA8 OK", true},    // 确定 OK
        StartCase{"FirstHanziRow", "\xB0\xA1", true},                  // 啊
        StartCase{"LastHanziCell", "\xF7\xFE", true},                  // 齄
        StartCase{"OkThenQueding", "OK\xC8\xB7\xB6\xA8", false},       // OK确定
        StartCase{"Dian", "\xD8\xBC", false},                          // 丶 no reading
        StartCase{"GbkOnlyKao", "\x81\x40", false},                    // 丂
        StartCase{"Empty", "", false},
        StartCase{"OneByte", "A", false},
        StartCase{"LoneLead", "\xC8", false},
        StartCase{"FullWidthDigit", "\xA3\xB1", false},                // １
        StartCase{"FullWidthSpace", "\xA1\xA1", false},
        StartCase{"SecondByteTooLow", "\xB0\xA0", false},
        StartCase{"SecondByteFF", "\xB0\xFF", false},
        StartCase{"UserDefinedRow", "\xF8\xA1", false},
        StartCase{"EmptyCellAfterRow55", "\xD7\xFA", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartsWithChineseCharacterTest, NoneOfTheCodesWithoutReadingCounts) {
  const std::uint16_t codes[] = {
      0xD7FA, 0xD7FB, 0xD7FC, 0xD7FD, 0xD7FE, 0xD8BC, 0xD8CE, 0xD8D6, 0xD8E7, 0xD8E9, 0xD9E8,
      0xD9EF, 0xD9FB, 0xDAA2, 0xDAA5, 0xDAE0, 0xDAE2, 0xDBC8, 0xDBC9, 0xDCB3, 0xDEC3, 0xDED0,
      0xDFBC, 0xE1EA, 0xE1EB, 0xE2BA, 0xE2BB, 0xE2E0, 0xE3DC, 0xE3DF, 0xE5B2, 0xE5C1, 0xE5E6,
      0xE5F8, 0xE6F9, 0xEBB6, 0xECE1, 0xECEA, 0xEDB1, 0xEEC4, 0xF0DA, 0xF1C2, 0xF2AE};
  for (const std::uint16_t code : codes) {
    const AnsiText text{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF), 'x'};
    EXPECT_FALSE(StartsWithChineseCharacter(text)) << std::hex << code;
  }
}

TEST(StartsWithChineseCharacterTest, EveryOtherHanziCellCounts) {
  int chinese = 0;
  for (int first = 0xB0; first <= 0xF7; ++first)
    for (int second = 0xA1; second <= 0xFE; ++second)
      if (StartsWithChineseCharacter(AnsiText{static_cast<char>(first), static_cast<char>(second)}))
        ++chinese;
  // 72 rows of 94 cells, less the 43 codes without a reading.
  EXPECT_EQ(chinese, 72 * 94 - 43);
}

}  // namespace
