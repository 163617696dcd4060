#include "app/hyperlink_rules.h"

#include <gtest/gtest.h>

namespace {

struct ColourCase {
  bool hovered, opened;
  LinkColour expected;
};

class LinkColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(LinkColours, HoverWinsOverOpened) {
  const ColourCase& c = GetParam();
  EXPECT_EQ(LinkTextColour(c.hovered, c.opened), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LinkColours,
                         ::testing::Values(ColourCase{false, false, {0, 0, 255}},
                                           ColourCase{true, false, {51, 153, 255}},
                                           ColourCase{false, true, {128, 0, 0}},
                                           ColourCase{true, true, {51, 153, 255}}));

struct CommandCase {
  const char* registered;
  const char* expected;
};

class HtmCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(HtmCommand, PlacesTarget) {
  const CommandCase& c = GetParam();
  EXPECT_EQ(HtmOpenCommandLine(c.registered, "http://h/p"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmCommand,
    ::testing::Values(
        CommandCase{"\"C:\\b\\browser.exe\"", "\"C:\\b\\browser.exe\" http://h/p"},
        CommandCase{"\"C:\\b\\browser.exe\" \"%1\"", "\"C:\\b\\browser.exe\" \"http://h/p\""},
        CommandCase{"browser -url %1 -new", "browser -url http://h/p -new"},
        // The second byte of a double-byte character (8C 25 is not "%") starts no placeholder.
        CommandCase{"C:\\\x8C%1.exe", "C:\\\x8C%1.exe http://h/p"},
        CommandCase{"", ""},
        CommandCase{"   ", ""}));

struct WideCommandCase {
  const char16_t* registered;
  const char16_t* expected;
};

class HtmCommandUtf16 : public ::testing::TestWithParam<WideCommandCase> {};

TEST_P(HtmCommandUtf16, PlacesTargetWhateverTheCharacters) {
  const WideCommandCase& c = GetParam();
  EXPECT_EQ(HtmOpenCommandLine(std::u16string(c.registered), u"http://h/p"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmCommandUtf16,
    ::testing::Values(
        WideCommandCase{u"\"C:\\b\\browser.exe\"", u"\"C:\\b\\browser.exe\" http://h/p"},
        WideCommandCase{u"browser -url %1 -new", u"browser -url http://h/p -new"},
        // A folder name with no GBK form (Korean) and a character beyond the BMP stay whole.
        WideCommandCase{u"\"C:\\\uBE0C\uB77C\uC6B0\uC800\\\U0001F310.exe\" \"%1\"",
                        u"\"C:\\\uBE0C\uB77C\uC6B0\uC800\\\U0001F310.exe\" \"http://h/p\""},
        WideCommandCase{u"%1%1", u"http://h/phttp://h/p"},
        WideCommandCase{u"", u""},
        WideCommandCase{u" \u3000 ", u""}));

}  // namespace
