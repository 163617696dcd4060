// The polled hotkey registry's state machine, driven tick by tick over made-up snapshots.
#include "keyboard/hotkey_registry.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kF2 = 113;
constexpr int kShift = 16;
constexpr int kCtrl = 17;
constexpr int kAlt = 18;
constexpr int kLeftWin = 91;
constexpr int kRightWin = 92;

constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t kOnlyLowBit = 1;

void RoutineA() {}
void RoutineB() {}

struct Firing {
  HotkeyRoutine callback;
  std::int32_t id;
  std::int32_t callMode;
};

class RecordingFirePort final : public HotkeyFirePort {
 public:
  void Fire(HotkeyRoutine callback, std::int32_t id, std::int32_t callMode) override {
    firings.push_back({callback, id, callMode});
    if (onFire) onFire(id);
  }
  std::vector<Firing> firings;
  std::function<void(std::int32_t)> onFire;
};

KeySnapshot Keys(const std::vector<int>& down, const std::vector<int>& lowBit = {}) {
  KeySnapshot snapshot{};
  for (int key : down) snapshot[key - 1] = kDown;
  for (int key : lowBit) snapshot[key - 1] = kOnlyLowBit;
  return snapshot;
}

// ---- one tick from each state ---------------------------------------------------------

enum class Seen { kDown, kFullyUp, kOnlyLowBit };

struct TransitionCase {
  std::uint8_t startState;
  bool releaseTrigger;
  Seen seen;
  std::uint8_t endState;
  bool fires;
};

std::string TransitionName(const testing::TestParamInfo<TransitionCase>& info) {
  const TransitionCase& c = info.param;
  const char* seen = c.seen == Seen::kDown ? "Down" : c.seen == Seen::kFullyUp ? "Up" : "LowBit";
  return "From" + std::to_string(c.startState) + (c.releaseTrigger ? "Release" : "Press") + seen;
}

class HotkeyTransition : public testing::TestWithParam<TransitionCase> {};

TEST_P(HotkeyTransition, MovesStateAndFiresAsTheTableSays) {
  const TransitionCase& c = GetParam();
  HotkeyRegistry registry;
  registry.Register(&RoutineA, c.releaseTrigger ? -kF2 : kF2, 0, 0, 0, 0);
  registry.entryAt(0).state = c.startState;

  KeySnapshot snapshot{};
  snapshot[kF2 - 1] = c.seen == Seen::kDown ? kDown : c.seen == Seen::kOnlyLowBit ? kOnlyLowBit : 0;
  RecordingFirePort port;
  registry.Poll(snapshot, port);

  EXPECT_EQ(registry.entries()[0].state, c.endState);
  EXPECT_EQ(port.firings.size(), c.fires ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCell, HotkeyTransition,
    testing::Values(
        // idle
        TransitionCase{0, false, Seen::kDown, 88, true},
        TransitionCase{0, true, Seen::kDown, 1, false},
        TransitionCase{0, false, Seen::kFullyUp, 0, false},
        TransitionCase{0, true, Seen::kFullyUp, 0, false},
        TransitionCase{0, false, Seen::kOnlyLowBit, 0, false},
        TransitionCase{0, true, Seen::kOnlyLowBit, 0, false},
        // held
        TransitionCase{1, false, Seen::kDown, 88, true},
        TransitionCase{1, true, Seen::kDown, 1, false},
        TransitionCase{1, false, Seen::kFullyUp, 88, true},
        TransitionCase{1, true, Seen::kFullyUp, 88, true},
        TransitionCase{1, false, Seen::kOnlyLowBit, 88, true},
        TransitionCase{1, true, Seen::kOnlyLowBit, 88, true},
        // fired
        TransitionCase{88, false, Seen::kDown, 88, false},
        TransitionCase{88, true, Seen::kDown, 88, false},
        TransitionCase{88, false, Seen::kFullyUp, 0, false},
        TransitionCase{88, true, Seen::kFullyUp, 0, false},
        TransitionCase{88, false, Seen::kOnlyLowBit, 88, false},
        TransitionCase{88, true, Seen::kOnlyLowBit, 88, false}),
    TransitionName);

// ---- what a user sees over several ticks ----------------------------------------------

struct Tick {
  std::vector<int> down;
  std::vector<int> lowBit;
  std::size_t firedSoFar;
};

struct Scenario {
  const char* name;
  std::int32_t keyCode;
  std::int32_t modifierMask;
  std::int32_t secondKey;
  std::vector<Tick> ticks;
};

class HotkeyScenario : public testing::TestWithParam<Scenario> {};

TEST_P(HotkeyScenario, FiresOnlyWhereExpected) {
  const Scenario& s = GetParam();
  HotkeyRegistry registry;
  ASSERT_NE(registry.Register(&RoutineA, s.keyCode, s.modifierMask, s.secondKey, 0, 0).id, 0);
  RecordingFirePort port;
  for (std::size_t i = 0; i < s.ticks.size(); ++i) {
    registry.Poll(Keys(s.ticks[i].down, s.ticks[i].lowBit), port);
    EXPECT_EQ(port.firings.size(), s.ticks[i].firedSoFar) << "after tick " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, HotkeyScenario,
    testing::Values(
        Scenario{"HeldKeyFiresOnceAndRearmsOnlyWhenFullyUp", kF2, 0, 0,
                 {{{kF2}, {}, 1}, {{kF2}, {}, 1}, {{kF2}, {}, 1}, {{}, {kF2}, 1},
                  {{kF2}, {}, 1}, {{}, {}, 1}, {{kF2}, {}, 2}}},
        Scenario{"ShiftF2WithMaskZeroNeverFiresEvenWhenShiftIsLetGo", kF2, 0, 0,
                 {{{kShift, kF2}, {}, 0}, {{kF2}, {}, 0}, {{}, {}, 0}, {{kF2}, {}, 1}}},
        Scenario{"AltMaskIgnoresRightWinButNotOtherModifiers", kF2, 1, 0,
                 {{{kAlt, kF2}, {}, 1}, {{}, {}, 1},
                  {{kAlt, kRightWin, kF2}, {}, 2}, {{}, {}, 2},
                  {{kAlt, kLeftWin, kF2}, {}, 2}, {{}, {}, 2},
                  {{kAlt, kCtrl, kF2}, {}, 2}, {{}, {}, 2},
                  {{kF2}, {}, 2}}},
        Scenario{"TapSeenOnlyAsLowBitDoesNotFire", kF2, 0, 0,
                 {{{}, {kF2}, 0}, {{}, {}, 0}, {{}, {kF2}, 0}}},
        Scenario{"ReleaseTriggerFiresOnFirstTickSeeingKeyUp", -kF2, 0, 0,
                 {{{kF2}, {}, 0}, {{kF2}, {}, 0}, {{}, {}, 1}, {{}, {}, 1},
                  {{kF2}, {}, 1}, {{}, {kF2}, 2}}},
        Scenario{"ReleaseTriggerLosesPressWhenNoTickSawKeyFullyUp", -kF2, 0, 0,
                 {{{kF2}, {}, 0}, {{}, {kF2}, 1}, {{kF2}, {}, 1}, {{}, {}, 1},
                  {{kF2}, {}, 1}, {{}, {}, 2}}},
        Scenario{"SecondKeyCtrlWithCtrlMaskFires", kF2, 2, kCtrl,
                 {{{kCtrl, kF2}, {}, 1}}},
        Scenario{"SecondKeyCtrlWithMaskZeroCanNeverFire", kF2, 0, kCtrl,
                 {{{kCtrl, kF2}, {}, 0}, {{}, {}, 0}, {{kF2}, {}, 0}, {{}, {}, 0},
                  {{kCtrl}, {}, 0}, {{kCtrl, kF2}, {}, 0}}},
        Scenario{"SecondKeySignIsIgnored", kF2, 2, -kCtrl, {{{kCtrl, kF2}, {}, 1}}},
        Scenario{"HighBitsOfKeyCodeAreIgnoredForTheKey", 369, 0, 0, {{{kF2}, {}, 1}}},
        Scenario{"ReleaseWithModifierHeldIsUsedUpWithoutFiring", -kF2, 0, 0,
                 {{{kF2}, {}, 0}, {{kShift}, {}, 0}, {{kF2}, {}, 0}, {{}, {}, 0},
                  {{kF2}, {}, 0}, {{}, {}, 1}}}),
    [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

// ---- registration -----------------------------------------------------------------------

struct RefusedCode {
  std::int32_t keyCode;
  std::int32_t secondKey;
};

class RefusedRegistration : public testing::TestWithParam<RefusedCode> {};

TEST_P(RefusedRegistration, ReturnsZeroStoresNothingStartsNoTimer) {
  HotkeyRegistry registry;
  const HotkeyRegistration r =
      registry.Register(&RoutineA, GetParam().keyCode, 0, GetParam().secondKey, 0, 0);
  EXPECT_EQ(r.id, 0);
  EXPECT_EQ(r.pollTimerIntervalMs, 0);
  EXPECT_TRUE(registry.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(KeyCodesWithNoKey, RefusedRegistration,
                         testing::Values(RefusedCode{0, 0}, RefusedCode{256, 0},
                                         RefusedCode{-256, 0}, RefusedCode{512, 0},
                                         RefusedCode{INT_MIN, 0}, RefusedCode{kF2, 256},
                                         RefusedCode{kF2, -512}, RefusedCode{kF2, INT_MIN}));

TEST(HotkeyRegistration, IdsCountFromFirstAndEachSignedCodeIsItsOwnRecord) {
  HotkeyRegistry registry;
  EXPECT_EQ(registry.Register(&RoutineA, kF2, 0, 0, 0, 0).id, 1000001);
  EXPECT_EQ(registry.Register(&RoutineA, -kF2, 0, 0, 0, 0).id, 1000002);
  EXPECT_EQ(registry.Register(&RoutineA, 369, 0, 0, 0, 0).id, 1000003);
  EXPECT_EQ(registry.Register(&RoutineA, kF2, 4, 0, 0, 0).id, 1000004);
  EXPECT_EQ(registry.Register(&RoutineA, kF2, 0, kCtrl, 0, 0).id, 1000005);
  EXPECT_EQ(registry.Register(&RoutineA, kF2, 0, 0, 0, 0).id, 1000001);
  EXPECT_EQ(registry.entries().size(), 5u);
}

TEST(HotkeyRegistration, SameTripleUpdatesOnlyCallbackAndCallMode) {
  HotkeyRegistry registry;
  registry.Register(&RoutineA, kF2, 2, kCtrl, 0, 0);
  RecordingFirePort port;
  registry.Poll(Keys({kCtrl, kF2}), port);  // leaves the record fired
  ASSERT_EQ(port.firings.size(), 1u);

  const HotkeyRegistration again = registry.Register(&RoutineB, kF2, 2, kCtrl, 500, 7);
  EXPECT_EQ(again.id, 1000001);
  EXPECT_EQ(again.pollTimerIntervalMs, 0);
  const HotkeyEntry& entry = registry.entries()[0];
  EXPECT_EQ(entry.callback, &RoutineB);
  EXPECT_EQ(entry.callMode, 7);
  EXPECT_EQ(entry.state, kHotkeyFired);
  EXPECT_EQ(entry.keyCode, kF2);
  EXPECT_EQ(entry.modifierMask, 2);
  EXPECT_EQ(entry.secondKey, kCtrl);

  registry.Poll(Keys({}), port);
  registry.Poll(Keys({kCtrl, kF2}), port);
  ASSERT_EQ(port.firings.size(), 2u);
  EXPECT_EQ(port.firings[1].callback, &RoutineB);
  EXPECT_EQ(port.firings[1].callMode, 7);
}

struct IntervalCase {
  std::int32_t firstInterval;
  std::int32_t expected;
};

class FirstRegistrationInterval : public testing::TestWithParam<IntervalCase> {};

TEST_P(FirstRegistrationInterval, StartsTheTimerOnceWithItsOwnInterval) {
  HotkeyRegistry registry;
  // A refused call before it creates no record, so it does not count as the first.
  EXPECT_EQ(registry.Register(&RoutineA, 256, 0, 0, 999, 0).pollTimerIntervalMs, 0);
  EXPECT_EQ(registry.Register(&RoutineA, kF2, 0, 0, GetParam().firstInterval, 0)
                .pollTimerIntervalMs,
            GetParam().expected);
  EXPECT_EQ(registry.Register(&RoutineA, 114, 0, 0, 40, 0).pollTimerIntervalMs, 0);
  EXPECT_EQ(registry.Register(&RoutineA, kF2, 0, 0, 40, 0).pollTimerIntervalMs, 0);
}

INSTANTIATE_TEST_SUITE_P(Intervals, FirstRegistrationInterval,
                         testing::Values(IntervalCase{0, 10}, IntervalCase{-5, 10},
                                         IntervalCase{INT_MIN, 10}, IntervalCase{1, 1},
                                         IntervalCase{250, 250}));

// ---- firing -----------------------------------------------------------------------------

TEST(HotkeyFiring, PassesIdCallbackAndCallModeInRegistryOrder) {
  HotkeyRegistry registry;
  registry.Register(&RoutineA, kF2, 0, 0, 0, 0);
  registry.Register(&RoutineB, 114, 0, 0, 0, 1);
  registry.Register(&RoutineA, 115, 0, 0, 0, 0);  // not pressed
  RecordingFirePort port;
  std::vector<std::uint8_t> nextRecordStateDuringFiring;
  port.onFire = [&](std::int32_t) {
    nextRecordStateDuringFiring.push_back(registry.entries()[1].state);
  };
  registry.Poll(Keys({114, kF2}), port);
  ASSERT_EQ(port.firings.size(), 2u);
  // The first callback ran before the tick reached the second record.
  EXPECT_EQ(nextRecordStateDuringFiring[0], kHotkeyIdle);
  EXPECT_EQ(port.firings[0].id, 1000001);
  EXPECT_EQ(port.firings[0].callback, &RoutineA);
  EXPECT_EQ(port.firings[0].callMode, 0);
  EXPECT_EQ(port.firings[1].id, 1000002);
  EXPECT_EQ(port.firings[1].callback, &RoutineB);
  EXPECT_EQ(port.firings[1].callMode, 1);
}

TEST(HotkeyFiring, SynchronousCallbackThatRegistersWaitsForTheNextTick) {
  HotkeyRegistry registry;
  registry.Register(&RoutineA, kF2, 0, 0, 0, 1);
  RecordingFirePort port;
  int added = 0;
  // Enough new records to move the registry's storage while the tick is on its first one.
  port.onFire = [&](std::int32_t id) {
    if (id != 1000001) return;
    for (int i = 0; i < 64; ++i) {
      registry.Register(&RoutineB, kF2, 0, 1 + i, 0, 1);
      ++added;
    }
  };
  registry.Poll(Keys({kF2}), port);
  EXPECT_EQ(port.firings.size(), 1u);
  ASSERT_EQ(registry.entries().size(), 1u + added);
  for (std::size_t i = 1; i < registry.entries().size(); ++i) {
    EXPECT_EQ(registry.entries()[i].state, kHotkeyIdle) << "record " << i;
  }
  EXPECT_EQ(registry.entries()[0].state, kHotkeyFired);

  // Their second keys are not down, so the next tick uses them up without calling them.
  registry.Poll(Keys({kF2}), port);
  EXPECT_EQ(port.firings.size(), 1u);
  for (std::size_t i = 1; i < registry.entries().size(); ++i) {
    EXPECT_EQ(registry.entries()[i].state, kHotkeyFired) << "record " << i;
  }
}

TEST(HotkeyFiring, NestedTickInsideCallbackDoesNotFireTheSamePressTwice) {
  HotkeyRegistry registry;
  registry.Register(&RoutineA, kF2, 0, 0, 0, 1);
  registry.Register(&RoutineB, 114, 0, 0, 0, 1);
  RecordingFirePort port;
  const KeySnapshot keys = Keys({kF2, 114});
  int depth = 0;
  port.onFire = [&](std::int32_t) {
    if (depth++ == 0) registry.Poll(keys, port);  // a callback that pumps messages
  };
  registry.Poll(keys, port);
  ASSERT_EQ(port.firings.size(), 2u);
  EXPECT_EQ(port.firings[0].id, 1000001);
  EXPECT_EQ(port.firings[1].id, 1000002);
}

TEST(HotkeyRelease, TicksAfterReleaseDoNothingAndRegistrationIsRefused) {
  HotkeyRegistry registry;
  registry.Register(&RoutineA, kF2, 0, 0, 0, 0);
  registry.Release();
  RecordingFirePort port;
  registry.Poll(Keys({kF2}), port);
  EXPECT_TRUE(port.firings.empty());
  EXPECT_EQ(registry.Register(&RoutineA, 114, 0, 0, 0, 0).id, 0);
  EXPECT_TRUE(registry.entries().empty());
}

TEST(HotkeyRelease, ReleaseFromInsideACallbackEndsTheTickSafely) {
  HotkeyRegistry registry;
  registry.Register(&RoutineA, kF2, 0, 0, 0, 1);
  registry.Register(&RoutineB, 114, 0, 0, 0, 1);
  RecordingFirePort port;
  port.onFire = [&](std::int32_t) { registry.Release(); };
  registry.Poll(Keys({kF2, 114}), port);
  EXPECT_EQ(port.firings.size(), 1u);
}

struct ModifierCase {
  std::vector<int> down;
  std::int32_t mask;
};

class HeldModifiers : public testing::TestWithParam<ModifierCase> {};

TEST_P(HeldModifiers, SumTheFourCountedKeys) {
  EXPECT_EQ(HeldModifierMask(Keys(GetParam().down)), GetParam().mask);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, HeldModifiers,
    testing::Values(ModifierCase{{}, 0}, ModifierCase{{kAlt}, 1}, ModifierCase{{kCtrl}, 2},
                    ModifierCase{{kShift}, 4}, ModifierCase{{kLeftWin}, 8},
                    ModifierCase{{kRightWin}, 0}, ModifierCase{{kAlt, kCtrl, kShift, kLeftWin}, 15},
                    // The left/right variants (160..165) are not what the mask reads.
                    ModifierCase{{160, 162, 164}, 0}));


// ---- the keys a tick needs --------------------------------------------------------------

namespace needed_keys {

struct Registration {
  std::int32_t keyCode;
  std::int32_t modifierMask;
  std::int32_t secondKey;
};

struct NeededCase {
  const char* name;
  std::vector<Registration> registrations;
  std::vector<std::uint8_t> expected;
};

class NeededKeys : public testing::TestWithParam<NeededCase> {};

TEST_P(NeededKeys, AreTheRecordsKeysAndTheFourModifiers) {
  HotkeyRegistry registry;
  for (const Registration& r : GetParam().registrations)
    registry.Register(&RoutineA, r.keyCode, r.modifierMask, r.secondKey, 0, 0);
  EXPECT_EQ(registry.neededKeys(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Registrations, NeededKeys,
    testing::Values(
        NeededCase{"NothingRegistered", {}, {}},
        NeededCase{"OneKey", {{kF2, 0, 0}}, {16, 17, 18, 91, 113}},
        NeededCase{"ShiftF2BesideF2AddsNoKey", {{kF2, 0, 0}, {kF2, 4, 0}}, {16, 17, 18, 91, 113}},
        NeededCase{"SignAndHighBitsNameTheSameKey", {{-kF2, 0, 0}, {369, 0, 0}},
                   {16, 17, 18, 91, 113}},
        NeededCase{"EachRecordAddsItsKey", {{kF2, 0, 0}, {114, 0, 0}, {65, 2, 0}},
                   {16, 17, 18, 65, 91, 113, 114}},
        NeededCase{"SecondKeyWithoutItsSign", {{kF2, 0, -66}}, {16, 17, 18, 66, 91, 113}},
        NeededCase{"ModifierAsTheKey", {{kCtrl, 0, kLeftWin}}, {16, 17, 18, 91}},
        NeededCase{"RefusedRegistrationsAddNothing", {{256, 0, 0}, {kF2, 0, 512}}, {}}),
    [](const testing::TestParamInfo<NeededCase>& info) { return std::string(info.param.name); });

TEST(NeededKeysAfterRelease, AreNone) {
  HotkeyRegistry registry;
  registry.Register(&RoutineA, kF2, 0, 0, 0, 0);
  registry.Release();
  EXPECT_TRUE(registry.neededKeys().empty());
}

// The Win32 tick reads only the needed keys and leaves every other slot 0. Over a run of ticks
// with other keys down or tapped, such snapshots fire exactly as complete ones.
TEST(NeededKeysSnapshot, FiresAsTheCompleteSnapshot) {
  HotkeyRegistry complete;
  HotkeyRegistry reduced;
  for (HotkeyRegistry* registry : {&complete, &reduced}) {
    registry->Register(&RoutineA, kF2, 0, 0, 0, 0);
    registry->Register(&RoutineB, kF2, 4, 0, 0, 0);  // Shift+F2
    registry->Register(&RoutineA, -114, 0, 65, 0, 1);
  }
  const std::vector<std::vector<int>> ticks = {
      {kF2, kRightWin, 160},  {kF2, 66},  {},          {kShift, kF2, 161, 92},
      {kShift, kF2},          {},         {65, 114},   {65, 114, 67, 200},
      {65, 255},              {65},       {kF2, 1, 2}, {}};
  RecordingFirePort completePort;
  RecordingFirePort reducedPort;
  for (const std::vector<int>& down : ticks) {
    const KeySnapshot keys = Keys(down);
    KeySnapshot onlyNeeded{};
    for (std::uint8_t key : reduced.neededKeys()) onlyNeeded[key - 1] = keys[key - 1];
    complete.Poll(keys, completePort);
    reduced.Poll(onlyNeeded, reducedPort);
  }
  ASSERT_EQ(completePort.firings.size(), 4u);  // F2, Shift+F2, the release of 114, F2
  ASSERT_EQ(reducedPort.firings.size(), completePort.firings.size());
  for (std::size_t i = 0; i < completePort.firings.size(); ++i)
    EXPECT_EQ(reducedPort.firings[i].id, completePort.firings[i].id) << "firing " << i;
}

}  // namespace needed_keys

}  // namespace
