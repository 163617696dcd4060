// A timed program: the cost of taking the 255-key snapshot with GetAsyncKeyState, as every
// hotkey tick does. Prints the figures; it checks nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "keyboard/hotkey_win32.h"

namespace {

double NowUs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  KeySnapshot snapshot;
  TakeKeySnapshot(snapshot);  // warm up
  std::vector<double> samples;
  samples.reserve(rounds);
  long downSeen = 0;
  for (int i = 0; i < rounds; ++i) {
    const double start = NowUs();
    TakeKeySnapshot(snapshot);
    samples.push_back(NowUs() - start);
    downSeen += snapshot[112] < 0;
  }
  std::sort(samples.begin(), samples.end());
  double total = 0;
  for (double s : samples) total += s;
  std::printf("key snapshot (255 x GetAsyncKeyState), %d rounds: min %.1f us, median %.1f us, "
              "p95 %.1f us, mean %.1f us (%.2f us per key query)\n",
              rounds, samples.front(), samples[samples.size() / 2],
              samples[samples.size() * 95 / 100], total / rounds, total / rounds / 255.0);
  std::printf("share of a 10 ms tick interval: %.2f %%\n", total / rounds / 10000.0 * 100.0);
  return downSeen < 0;  // keeps the loop from being optimised away
}
