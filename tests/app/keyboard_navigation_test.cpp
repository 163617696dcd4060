#include "app/keyboard_navigation.h"

#include <gtest/gtest.h>

namespace {

constexpr int kTab = 0x09;
constexpr int kEscape = 0x1B;
constexpr int kSpace = 0x20;

struct KeyCase {
  int key;
  bool ctrl, shift, alt;
  WindowKeyCommand expected;
};

class WindowKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(WindowKeys, Classify) {
  const KeyCase& c = GetParam();
  EXPECT_EQ(ClassifyWindowKey(c.key, ModifierKeys{c.ctrl, c.shift, c.alt}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowKeys,
    ::testing::Values(KeyCase{kEscape, false, false, false, WindowKeyCommand::Close},
                      KeyCase{kEscape, true, false, false, WindowKeyCommand::None},
                      KeyCase{kEscape, false, true, false, WindowKeyCommand::None},
                      KeyCase{kEscape, false, false, true, WindowKeyCommand::None},
                      KeyCase{kTab, false, false, false, WindowKeyCommand::NextControl},
                      KeyCase{kTab, false, true, false, WindowKeyCommand::PreviousControl},
                      KeyCase{kTab, true, false, false, WindowKeyCommand::None},
                      KeyCase{kTab, false, false, true, WindowKeyCommand::None},
                      KeyCase{kSpace, false, false, false, WindowKeyCommand::None}));

struct FocusCase {
  std::vector<bool> usable;
  int current;
  bool backward;
  int expected;
};

class FocusOrder : public ::testing::TestWithParam<FocusCase> {};

TEST_P(FocusOrder, NextPosition) {
  const FocusCase& c = GetParam();
  EXPECT_EQ(NextFocusPosition(c.usable, c.current, c.backward), c.expected);
}

const std::vector<bool> kSevenUsable(7, true);

INSTANTIATE_TEST_SUITE_P(
    Cases, FocusOrder,
    ::testing::Values(FocusCase{kSevenUsable, 0, false, 1},
                      FocusCase{kSevenUsable, 5, false, 6},
                      FocusCase{kSevenUsable, 6, false, 0},  // wraps to the first
                      FocusCase{kSevenUsable, 0, true, 6},   // wraps to the last
                      FocusCase{kSevenUsable, 3, true, 2},
                      FocusCase{kSevenUsable, -1, false, 0},  // focus outside the order
                      FocusCase{kSevenUsable, -1, true, 6},
                      FocusCase{{true, false, false, true}, 0, false, 3},  // skips unusable
                      FocusCase{{true, false, false, true}, 0, true, 3},
                      FocusCase{{false, true, false}, 1, false, 1},  // the only one stays
                      FocusCase{{false, false}, 0, false, -1},
                      FocusCase{{}, -1, false, -1}));

}  // namespace
