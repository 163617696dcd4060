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

}  // namespace
