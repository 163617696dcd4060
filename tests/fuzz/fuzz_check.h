// What the fuzz targets share: a check that stops the run on the input that broke it (libFuzzer
// saves that input as a crash file), and the walk over a text's characters as the tool's text
// routines define them (a byte of 0x80 or more takes the byte after it along).
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

namespace fuzz {

// Start positions of the characters of `text[from..]`, walked one or two bytes at a time, as
// plainly as possible: the reference the targets compare the tool's walks with. A lead byte
// standing last counts as a character of one byte here; callers decide what it means.
inline std::vector<std::size_t> CharacterStarts(const std::string& text, std::size_t from = 0) {
  std::vector<std::size_t> starts;
  std::size_t pos = from;
  while (pos < text.size()) {
    starts.push_back(pos);
    const bool lead = static_cast<unsigned char>(text[pos]) >= 0x80;
    pos += (lead && pos + 1 < text.size()) ? 2 : 1;
  }
  return starts;
}

inline bool IsLoneLeadAt(const std::string& text, std::size_t pos) {
  return pos + 1 == text.size() && static_cast<unsigned char>(text[pos]) >= 0x80;
}

}  // namespace fuzz
