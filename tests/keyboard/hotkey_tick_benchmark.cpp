// The cost of one hotkey tick over a snapshot, with the program's one registration (F2,
// no modifiers, no second key, a new thread per firing).
#include <benchmark/benchmark.h>

#include "keyboard/hotkey_registry.h"

namespace {

void Unused() {}

class CountingFirePort final : public HotkeyFirePort {
 public:
  void Fire(HotkeyRoutine, std::int32_t, std::int32_t) override { ++fired; }
  long fired = 0;
};

KeySnapshot SnapshotWithF2(std::int16_t value) {
  KeySnapshot snapshot{};
  snapshot[113 - 1] = value;
  return snapshot;
}

// F2 up: what nearly every tick of a run sees.
void BM_HotkeyTickF2Up(benchmark::State& state) {
  HotkeyRegistry registry;
  registry.Register(&Unused, 113, 0, 0, 0, 0);
  const KeySnapshot snapshot = SnapshotWithF2(0);
  CountingFirePort port;
  for (auto _ : state) {
    registry.Poll(snapshot, port);
    benchmark::DoNotOptimize(registry.entries().data());
  }
}
BENCHMARK(BM_HotkeyTickF2Up);

// F2 held after its firing: the state stays fired, no call.
void BM_HotkeyTickF2Held(benchmark::State& state) {
  HotkeyRegistry registry;
  registry.Register(&Unused, 113, 0, 0, 0, 0);
  const KeySnapshot snapshot = SnapshotWithF2(static_cast<std::int16_t>(0x8000));
  CountingFirePort port;
  registry.Poll(snapshot, port);
  for (auto _ : state) {
    registry.Poll(snapshot, port);
    benchmark::DoNotOptimize(registry.entries().data());
  }
}
BENCHMARK(BM_HotkeyTickF2Held);

// A press and a release every two ticks: each press goes through the fire check and the
// modifier sum and reaches the (counting) fire port.
void BM_HotkeyTickPressAndRelease(benchmark::State& state) {
  HotkeyRegistry registry;
  registry.Register(&Unused, 113, 0, 0, 0, 0);
  const KeySnapshot down = SnapshotWithF2(static_cast<std::int16_t>(0x8000));
  const KeySnapshot up = SnapshotWithF2(0);
  CountingFirePort port;
  for (auto _ : state) {
    registry.Poll(down, port);
    registry.Poll(up, port);
  }
  state.SetItemsProcessed(2 * state.iterations());
  state.counters["fired"] = static_cast<double>(port.fired);
}
BENCHMARK(BM_HotkeyTickPressAndRelease);

}  // namespace

BENCHMARK_MAIN();
