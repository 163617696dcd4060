// StartsWithChineseCharacter against its definition: a GB2312 hanzi cell (first byte B0-F7,
// second byte A1-FE) that is not one of the 43 codes without a pinyin reading.
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "translate_pass/chinese_character.h"

namespace {

// The excluded codes, written as the definition lists them and read once.
const char kWithoutReading[] =
    "D7FA, D7FB, D7FC, D7FD, D7FE, D8BC, D8CE, D8D6, D8E7, D8E9, D9E8, D9EF, D9FB, DAA2, DAA5, "
    "DAE0, DAE2, DBC8, DBC9, DCB3, DEC3, DED0, DFBC, E1EA, E1EB, E2BA, E2BB, E2E0, E3DC, E3DF, "
    "E5B2, E5C1, E5E6, E5F8, E6F9, EBB6, ECE1, ECEA, EDB1, EEC4, F0DA, F1C2, F2AE";

std::set<unsigned> ReadExcluded() {
  std::set<unsigned> codes;
  unsigned code = 0;
  int used = 0;
  for (const char* at = kWithoutReading; std::sscanf(at, " %4X,%n", &code, &used) >= 1;) {
    codes.insert(code);
    if (used == 0) break;  // the last code has no comma after it
    at += used;
    used = 0;
  }
  return codes;
}

const std::set<unsigned>& Excluded() {
  static const std::set<unsigned> codes = [] {
    std::set<unsigned> read = ReadExcluded();
    FUZZ_CHECK(read.size() == 43);
    return read;
  }();
  return codes;
}

bool ByDefinition(const std::string& text) {
  if (text.size() < 2) return false;
  const unsigned first = static_cast<unsigned char>(text[0]);
  const unsigned second = static_cast<unsigned char>(text[1]);
  if (first < 0xB0 || first > 0xF7 || second < 0xA1 || second > 0xFE) return false;
  return Excluded().count(first << 8 | second) == 0;
}

}  // namespace

// The two bytes that decide are few enough to try them all before fuzzing starts; the fuzzing
// then adds what follows them.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FUZZ_CHECK(StartsWithChineseCharacter("") == false);
  for (unsigned first = 0; first < 256; ++first) {
    const std::string one(1, static_cast<char>(first));
    FUZZ_CHECK(StartsWithChineseCharacter(one) == false);
    for (unsigned second = 0; second < 256; ++second) {
      const std::string two = one + static_cast<char>(second);
      FUZZ_CHECK(StartsWithChineseCharacter(two) == ByDefinition(two));
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(StartsWithChineseCharacter(text) == ByDefinition(text));
  return 0;
}
