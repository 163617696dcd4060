#include "text/ansi_text.h"

#include <gtest/gtest.h>

namespace {

struct SpaceCase {
  const char* name;
  AnsiText in;
  AnsiText out;
};

class WithoutSpacesTest : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(WithoutSpacesTest, RemovesOnlyHalfAndFullWidthSpaces) {
  EXPECT_EQ(ansi::WithoutSpaces(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WithoutSpacesTest,
    ::testing::Values(
        SpaceCase{"Empty", "", ""},
        SpaceCase{"HalfWidth", " a b ", "ab"},
        SpaceCase{"FullWidth", "\xA1\xA1" "a\xA1\xA1", "a"},           // "　a　"
        SpaceCase{"TabAndBreaksStay", "\t\r\n", "\t\r\n"},
        SpaceCase{"HanziStaysWhole", "\xC4\xE3 \xBA\xC3", "\xC4\xE3\xBA\xC3"},  // 你 好
        // 丂 (81 40) ends in a byte that is not a space; A1 then 20: the 20 is a trail byte.
        SpaceCase{"TrailByteIsNotASpace", "\xA1\x20", "\xA1\x20"},
        SpaceCase{"LoneLeadDropped", "a\xC4", "a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnsiTextTest, StepsOverDoubleByteCharactersWhole) {
  const AnsiText text = "a\x95\x5C" "b";  // a 昞 b
  EXPECT_EQ(ansi::CharLengthAt(text, 0), 1u);
  EXPECT_EQ(ansi::CharLengthAt(text, 1), 2u);
  EXPECT_FALSE(ansi::IsLoneLeadAt(text, 1));
  EXPECT_TRUE(ansi::IsLoneLeadAt(AnsiText("a\x95"), 1));
}

TEST(AnsiTextTest, NoCaseMatchFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(ansi::MatchesNoCaseAt("x\\U003C", 1, "\\u003c"));
  EXPECT_FALSE(ansi::MatchesNoCaseAt("\xC1", 0, "\xE1"));  // no folding above ASCII
  EXPECT_FALSE(ansi::MatchesNoCaseAt("ab", 1, "bc"));
  EXPECT_FALSE(ansi::MatchesAt("AB", 0, "ab"));
}

}  // namespace
