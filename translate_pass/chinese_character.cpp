#include "translate_pass/chinese_character.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

// Codes inside the hanzi rows that are no character (D7FA-D7FE) or have no pinyin reading.
constexpr std::uint16_t kWithoutReading[] = {
    0xD7FA, 0xD7FB, 0xD7FC, 0xD7FD, 0xD7FE, 0xD8BC, 0xD8CE, 0xD8D6, 0xD8E7, 0xD8E9, 0xD9E8,
    0xD9EF, 0xD9FB, 0xDAA2, 0xDAA5, 0xDAE0, 0xDAE2, 0xDBC8, 0xDBC9, 0xDCB3, 0xDEC3, 0xDED0,
    0xDFBC, 0xE1EA, 0xE1EB, 0xE2BA, 0xE2BB, 0xE2E0, 0xE3DC, 0xE3DF, 0xE5B2, 0xE5C1, 0xE5E6,
    0xE5F8, 0xE6F9, 0xEBB6, 0xECE1, 0xECEA, 0xEDB1, 0xEEC4, 0xF0DA, 0xF1C2, 0xF2AE};

}  // namespace

bool StartsWithChineseCharacter(const AnsiText& text) {
  if (text.size() < 2) return false;
  const auto first = static_cast<unsigned char>(text[0]);
  const auto second = static_cast<unsigned char>(text[1]);
  if (first < 0xB0 || first > 0xF7 || second < 0xA1 || second > 0xFE) return false;
  const auto code = static_cast<std::uint16_t>((first << 8) | second);
  return std::find(std::begin(kWithoutReading), std::end(kWithoutReading), code) ==
         std::end(kWithoutReading);
}
