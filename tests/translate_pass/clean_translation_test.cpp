#include "translate_pass/clean_translation.h"

#include <gtest/gtest.h>

namespace {

struct ReplaceCase {
  const char* name;
  AnsiText text, search, replacement, expected;
};

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, ReplacesEveryMatchAtCharacterStarts) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceAll(c.text, c.search, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    ::testing::Values(
        ReplaceCase{"EmptyText", "", "a", "b", ""},
        ReplaceCase{"EmptySearchKeepsText", "abc", "", "x", "abc"},
        ReplaceCase{"EveryOccurrence", "a-b-c", "-", "+", "a+b+c"},
        ReplaceCase{"LettersWithoutCase", "xABcabX", "ab", "_", "x_c_X"},
        ReplaceCase{"NonLettersExact", "a[b{b", "[", "(", "a(b{b"},
        ReplaceCase{"ReplacementNotRescanned", "aa", "a", "aa", "aaaa"},
        ReplaceCase{"NoOverlap", "aaa", "aa", "b", "ba"},
        ReplaceCase{"ShortTailCopied", "xyab", "abc", "", "xyab"},
        // 昞 95 5C: its second byte is a backslash and must not match.
        ReplaceCase{"SecondByteNeverMatches", "\x95\x5C\\", "\\", "", "\x95\x5C"},
        // A lead byte standing last is dropped.
        ReplaceCase{"LoneLeadDropped", "ab\xC8", "z", "", "ab"},
        ReplaceCase{"LoneLeadAfterMatch", "zz\xC8", "z", "y", "yy"},
        // ...but kept when it stands in a tail shorter than the search text.
        ReplaceCase{"LoneLeadKeptInShortTail", "ab\xC8", "zz", "", "ab\xC8"},
        ReplaceCase{"MatchCoversDoubleByte", "a\xA3\xA6" "b", "\xA3\xA6", "", "ab"}),  // ＆
    [](const auto& info) { return std::string(info.param.name); });

struct CleanCase {
  const char* name;
  AnsiText reply, expected;
};

class CleanTranslationTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanTranslationTest, GivesTheTextToWrite) {
  EXPECT_EQ(CleanTranslation(GetParam().reply), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanTranslationTest,
    ::testing::Values(
        CleanCase{"EmptyReply", "", ""},
        CleanCase{"BackslashRBecomesCrLf", "a\\rb", "a\r\nb"},
        CleanCase{"BackslashUpperRBecomesCrLf", "a\\Rb", "a\r\nb"},
        CleanCase{"BackslashNBecomesSpace", "a\\nb", "a b"},
        CleanCase{"BackslashUpperNBecomesSpace", "a\\Nb", "a b"},
        CleanCase{"BackslashRBackslashN", "a\\r\\nb", "a\r\n b"},
        CleanCase{"EscapedLessThanRemovedWhole", "x\\u003cy", "xy"},
        CleanCase{"EscapedLessThanUpperCase", "x\\U003Cy", "xy"},
        CleanCase{"EscapedGreaterThanGoneAfterThreePasses", "x\\u003ey", "xy"},
        CleanCase{"BareEscapes", "au003cbu003Ec", "abc"},
        CleanCase{"PercentAndAmpersands", "50% A&B C\xA3\xA6" "D", "50 AB CD"},
        CleanCase{"HalfWidthParentheses", "(OK)", "OK"},
        // （） A3A8 A3A9 stay.
        CleanCase{"FullWidthParenthesesStay", "\xA3\xA8OK\xA3\xA9", "\xA3\xA8OK\xA3\xA9"},
        CleanCase{"EscapedQuoteKeepsQuote", "say \\\"hi\\\"", "say \"hi\""},
        // 昞 95 5C stays whole through the backslash removal.
        CleanCase{"DoubleByteWithBackslashByteStays", "\x95\x5C\\x", "\x95\x5Cx"},
        CleanCase{"SlashesUntouched", "C:/Program Files/A/B", "C:/Program Files/A/B"},
        CleanCase{"OnlyRemovedCharacters", "()%&\\", ""},
        // 确定 C8B7 B6A8 passes unchanged.
        CleanCase{"ChineseUnchanged", "\xC8\xB7\xB6\xA8", "\xC8\xB7\xB6\xA8"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplaceFivePairsTest, AppliesPairsInTurnAndSkipsEmptySearches) {
  EXPECT_EQ(ReplaceFivePairs("abc", "a", "b", "b", "c", "", "x", "c", "d", "", ""), "ddd");
}

}  // namespace
