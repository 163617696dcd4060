// Bytes as lower-case hex: how the test programs hand GBK texts to their Python drivers.
#pragma once

#include <string>

inline std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}
