// Field values of the keyboard input record for key-down and key-up events.
#include "keyboard/key_input_record.h"

#include <gtest/gtest.h>

namespace {

struct FlagCase {
  KeyTransition transition;
  std::int32_t extended;
  std::uint32_t flags;
};

class KeyInputFlags : public testing::TestWithParam<FlagCase> {};

TEST_P(KeyInputFlags, ExtendedCountsWhenNonzeroAndKeyUpAddsTwo) {
  const FlagCase& c = GetParam();
  const KeyInputFields fields = MakeKeyInputFields(91, 0x5B, c.extended, c.transition, 12345);
  EXPECT_EQ(fields.flags, c.flags);
  EXPECT_EQ(fields.type, 1u);
  EXPECT_EQ(fields.virtualKey, 91);
  EXPECT_EQ(fields.scanCode, 0x5B);
  EXPECT_EQ(fields.time, 12345u);
  EXPECT_EQ(fields.extraInfo, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    DownAndUp, KeyInputFlags,
    testing::Values(FlagCase{KeyTransition::kDown, 0, 0}, FlagCase{KeyTransition::kDown, 1, 1},
                    FlagCase{KeyTransition::kDown, 5, 1}, FlagCase{KeyTransition::kDown, -1, 1},
                    FlagCase{KeyTransition::kUp, 0, 2}, FlagCase{KeyTransition::kUp, 1, 3},
                    FlagCase{KeyTransition::kUp, 5, 3}));

TEST(KeyInputFields, KeepOnlyTheLow16BitsOfKeyAndScanCode) {
  const KeyInputFields fields =
      MakeKeyInputFields(0x12344, 0xABCD0020, 0, KeyTransition::kDown, 0xFFFFFFFF);
  EXPECT_EQ(fields.virtualKey, 0x2344);
  EXPECT_EQ(fields.scanCode, 0x0020);
  EXPECT_EQ(fields.time, 0xFFFFFFFFu);
  EXPECT_EQ(MakeKeyInputFields(-1, 0, 0, KeyTransition::kUp, 0).virtualKey, 0xFFFF);
}

}  // namespace
