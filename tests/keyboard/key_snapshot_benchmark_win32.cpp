// A timed program: the cost of taking a key snapshot with GetAsyncKeyState, once over all 255
// keys and once over the keys a tick needs with F2 registered, as the tool's tick does now.
// Prints the figures; it checks nothing.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "keyboard/hotkey_registry.h"
#include "keyboard/hotkey_win32.h"

namespace {

double NowUs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void NoRoutine() {}

long Measure(const char* what, const std::vector<std::uint8_t>& keys, int rounds) {
  KeySnapshot snapshot;
  TakeKeySnapshot(keys, snapshot);  // warm up
  std::vector<double> samples;
  samples.reserve(rounds);
  long downSeen = 0;
  for (int i = 0; i < rounds; ++i) {
    const double start = NowUs();
    TakeKeySnapshot(keys, snapshot);
    samples.push_back(NowUs() - start);
    downSeen += snapshot[112] < 0;
  }
  std::sort(samples.begin(), samples.end());
  double total = 0;
  for (double s : samples) total += s;
  std::printf("key snapshot (%s, %zu x GetAsyncKeyState), %d rounds: min %.1f us, median %.1f us, "
              "p95 %.1f us, mean %.1f us (%.2f us per key query)\n",
              what, keys.size(), rounds, samples.front(), samples[samples.size() / 2],
              samples[samples.size() * 95 / 100], total / rounds,
              total / rounds / static_cast<double>(keys.size()));
  std::printf("  share of a 10 ms tick interval: %.3f %%\n", total / rounds / 10000.0 * 100.0);
  return downSeen;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  std::vector<std::uint8_t> everyKey;
  for (int key = 1; key <= 255; ++key) everyKey.push_back(static_cast<std::uint8_t>(key));
  HotkeyRegistry registry;
  registry.Register(&NoRoutine, 113, 0, 0, 0, 0);  // F2
  long downSeen = Measure("every key", everyKey, rounds);
  downSeen += Measure("keys needed for F2", registry.neededKeys(), rounds);
  return downSeen < 0;  // keeps the loops from being optimised away
}
