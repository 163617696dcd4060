// The hotkey registry under random registrations, key snapshots and releases. Besides "no
// fault" it checks what a user relies on: a record fires at most once per press (never again
// before a tick has seen its key fully up), only with its exact modifiers and its second key
// down, press triggers on a key down and release triggers on a key up; ids and the poll timer
// follow the registration rules; and a tick over a snapshot holding only the registry's needed
// keys fires exactly as one over all 255 keys.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "keyboard/hotkey_registry.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

void RoutineA() {}
void RoutineB() {}

struct Firing {
  HotkeyRoutine callback;
  std::int32_t id;
  std::int32_t callMode;
  bool operator==(const Firing& other) const {
    return callback == other.callback && id == other.id && callMode == other.callMode;
  }
};

class RecordingFirePort final : public HotkeyFirePort {
 public:
  void Fire(HotkeyRoutine callback, std::int32_t id, std::int32_t callMode) override {
    firings.push_back({callback, id, callMode});
  }
  std::vector<Firing> firings;
};

std::int16_t Slot(const KeySnapshot& snapshot, std::uint8_t key) {
  return key == 0 ? snapshot[255] : snapshot[key - 1];
}

std::int32_t PickKeyCode(FuzzedDataProvider& in) {
  // Mostly keys a program registers, sometimes any code at all.
  static const std::int32_t kCodes[] = {113, -113, 114, 65, 16, 17, 18, 91, 369, 0, 256, -256};
  if (in.ConsumeBool()) return in.PickValueInArray(kCodes);
  return in.ConsumeIntegral<std::int32_t>();
}

KeySnapshot MakeSnapshot(FuzzedDataProvider& in) {
  KeySnapshot snapshot{};
  if (in.ConsumeBool()) {  // noise in every slot, the unused last one included
    std::uint32_t state = in.ConsumeIntegral<std::uint32_t>() | 1;
    for (std::int16_t& slot : snapshot) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      slot = static_cast<std::int16_t>(state & 0x8001);
    }
  }
  static const std::uint8_t kKeys[] = {16, 17, 18, 91, 92, 113, 114, 65, 160, 162, 164};
  static const std::int16_t kValues[] = {static_cast<std::int16_t>(0x8000),
                                         static_cast<std::int16_t>(0x8001), 1, 0};
  const int count = in.ConsumeIntegralInRange(0, 8);
  for (int i = 0; i < count; ++i) {
    const std::uint8_t key = in.ConsumeBool() ? in.PickValueInArray(kKeys)
                                              : in.ConsumeIntegralInRange<std::uint8_t>(1, 255);
    const std::int16_t value =
        in.ConsumeBool() ? in.PickValueInArray(kValues) : in.ConsumeIntegral<std::int16_t>();
    snapshot[key - 1] = value;
  }
  return snapshot;
}

// The registry under test, a twin fed only the needed keys, and what the checks remember.
struct Run {
  HotkeyRegistry full;
  HotkeyRegistry twin;
  std::vector<bool> sawUpSinceFiring;  // per record position

  void Register(FuzzedDataProvider& in) {
    const HotkeyRoutine callback = in.ConsumeBool() ? &RoutineA : &RoutineB;
    const std::int32_t keyCode = PickKeyCode(in);
    const std::int32_t mask =
        in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 15) : in.ConsumeIntegral<std::int32_t>();
    const std::int32_t secondKey = in.ConsumeBool() ? 0 : PickKeyCode(in);
    const std::int32_t interval = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t callMode = in.ConsumeIntegralInRange(0, 2);

    const std::size_t before = full.entries().size();
    std::int32_t sameTripleId = 0;
    for (const HotkeyEntry& e : full.entries()) {
      if (e.keyCode == keyCode && e.modifierMask == mask && e.secondKey == secondKey) sameTripleId = e.id;
    }
    const HotkeyRegistration r = full.Register(callback, keyCode, mask, secondKey, interval, callMode);
    const HotkeyRegistration t = twin.Register(callback, keyCode, mask, secondKey, interval, callMode);
    FUZZ_CHECK(r.id == t.id && r.pollTimerIntervalMs == t.pollTimerIntervalMs);

    const bool refused = full.released() || HotkeyVirtualKey(keyCode) == 0 ||
                         (secondKey != 0 && HotkeyVirtualKey(secondKey) == 0);
    if (refused) {
      FUZZ_CHECK(r.id == 0 && r.pollTimerIntervalMs == 0 && full.entries().size() == before);
    } else if (sameTripleId != 0) {
      FUZZ_CHECK(r.id == sameTripleId && r.pollTimerIntervalMs == 0);
      FUZZ_CHECK(full.entries().size() == before);
    } else {
      FUZZ_CHECK(r.id == HotkeyRegistry::kFirstId + static_cast<std::int32_t>(before));
      FUZZ_CHECK(full.entries().size() == before + 1);
      const std::int32_t expectedInterval =
          before != 0 ? 0 : interval > 0 ? interval : HotkeyRegistry::kDefaultIntervalMs;
      FUZZ_CHECK(r.pollTimerIntervalMs == expectedInterval);
      sawUpSinceFiring.push_back(true);
    }
    CheckNeededKeys();
  }

  void CheckNeededKeys() const {
    std::set<std::uint8_t> expected;
    for (const HotkeyEntry& e : full.entries()) {
      expected.insert({16, 17, 18, 91, HotkeyVirtualKey(e.keyCode)});
      if (e.secondKey != 0) expected.insert(HotkeyVirtualKey(e.secondKey));
    }
    const std::vector<std::uint8_t>& needed = full.neededKeys();
    FUZZ_CHECK(std::vector<std::uint8_t>(expected.begin(), expected.end()) == needed);
    FUZZ_CHECK(twin.neededKeys() == needed);
  }

  void Tick(const KeySnapshot& snapshot) {
    KeySnapshot reduced{};
    for (std::uint8_t key : twin.neededKeys()) reduced[key - 1] = snapshot[key - 1];

    RecordingFirePort port;
    RecordingFirePort twinPort;
    const std::vector<HotkeyEntry> before = full.entries();
    full.Poll(snapshot, port);
    twin.Poll(reduced, twinPort);
    FUZZ_CHECK(port.firings == twinPort.firings);
    FUZZ_CHECK(full.entries().size() == twin.entries().size());
    for (std::size_t i = 0; i < full.entries().size(); ++i)
      FUZZ_CHECK(full.entries()[i].state == twin.entries()[i].state);

    std::size_t nextFiring = 0;
    for (std::size_t position = 0; position < before.size(); ++position) {
      const HotkeyEntry& e = before[position];
      const std::int16_t value = Slot(snapshot, HotkeyVirtualKey(e.keyCode));
      const bool fired = nextFiring < port.firings.size() && port.firings[nextFiring].id == e.id;
      if (!fired) {
        if (value == 0) sawUpSinceFiring[position] = true;
        continue;
      }
      ++nextFiring;
      const Firing& f = port.firings[nextFiring - 1];
      FUZZ_CHECK(f.callback == e.callback && f.callMode == e.callMode);
      FUZZ_CHECK(sawUpSinceFiring[position]);  // once per press
      sawUpSinceFiring[position] = false;
      FUZZ_CHECK(HeldModifierMask(snapshot) == e.modifierMask);
      if (e.secondKey != 0) FUZZ_CHECK(Slot(snapshot, HotkeyVirtualKey(e.secondKey)) < 0);
      if (e.keyCode > 0) FUZZ_CHECK(value < 0);
      if (e.keyCode < 0) FUZZ_CHECK(value >= 0);
      FUZZ_CHECK(full.entries()[position].state == kHotkeyFired);
    }
    FUZZ_CHECK(nextFiring == port.firings.size());  // every firing is a record's, in order
  }

  void Release() {
    full.Release();
    twin.Release();
    FUZZ_CHECK(full.entries().empty() && full.neededKeys().empty());
    sawUpSinceFiring.clear();
  }

  void Recreate() {
    full = HotkeyRegistry();
    twin = HotkeyRegistry();
    sawUpSinceFiring.clear();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Run run;
  for (int step = 0; step < 256 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
      case 0:
      case 1:
      case 2:
        run.Register(in);
        break;
      case 8:
        run.Release();
        break;
      case 9:
        run.Recreate();
        break;
      default:
        run.Tick(MakeSnapshot(in));
        break;
    }
  }
  return 0;
}
