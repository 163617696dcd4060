#include "services/text_between.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct BetweenCase {
  const char* name;
  AnsiText text;
  AnsiText start;
  AnsiText end;
  AnsiText expected;
};

void PrintTo(const BetweenCase& c, std::ostream* os) { *os << c.name; }

class TextBetweenTest : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, CutsBetweenFirstStartAndFirstEndAfterIt) {
  const BetweenCase& c = GetParam();
  EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    ::testing::Values(
        BetweenCase{"Plain", "<a>xyz</a>", "<a>", "</a>", "xyz"},
        BetweenCase{"EmptyText", "", "<a>", "</a>", ""},
        BetweenCase{"StartMissingEndPresent", "xyz</a>", "<a>", "</a>", ""},
        BetweenCase{"EndOnlyBeforeStart", "</a>xyz<a>tail", "<a>", "</a>", ""},
        BetweenCase{"EndDirectlyAfterStart", "<a></a>rest", "<a>", "</a>", ""},
        BetweenCase{"StartMarkerAtTextEnd", "xyz<a>", "<a>", "</a>", ""},
        BetweenCase{"EndMissing", "<a>xyz", "<a>", "</a>", ""},
        BetweenCase{"FirstStartWins", "<a>one<a>two</a>", "<a>", "</a>", "one<a>two"},
        BetweenCase{"FirstEndWins", "<a>one</a>two</a>", "<a>", "</a>", "one"},
        BetweenCase{"EndOverlappingStartNotSeen", "[[\",\"x\",\"", "[[\"", "\",\"", ",\"x"},
        BetweenCase{"EscapedQuoteFollowedByRestOfEnd", "[[\"say \\\",\"hi\",\"src",
                    "[[\"", "\",\"", "say \\"},
        BetweenCase{"CaseSensitiveEnd", "<a>xyz</A>", "<a>", "</a>", ""},
        BetweenCase{"CaseSensitiveStart", "<A>xyz</a>", "<a>", "</a>", ""},
        // 乕 is 81 5B: its second byte is '[', the start marker's first byte.
        BetweenCase{"SecondByteNeverStartsAMatch", "\x81[[\"x\",\"", "[[\"", "\",\"", ""},
        BetweenCase{"MatchAfterDoubleByteCharacter", "\x81[[[\"x\",\"", "[[\"", "\",\"", "x"},
        // A lead byte before '"' takes the quote as its second byte.
        BetweenCase{"SecondByteNeverEndsTheCut", "[[\"\xC4\xE3\x81\",\"x\",\"", "[[\"", "\",\"",
                    "\xC4\xE3\x81\",\"x"},
        BetweenCase{"DoubleByteTextKeptWhole", "[[\"\xC4\xE3\xBA\xC3\",\"Hello", "[[\"", "\",\"",
                    "\xC4\xE3\xBA\xC3"},  // 你好
        BetweenCase{"EmbeddedLeadBeforeMarker", "<a>\xC4</a>", "<a>", "</a>", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
