#include "services/query_encoding.h"

#include <cstring>

#include "services/code_page.h"

ByteArray AnsiToUtf16Bytes(const AnsiText& text) {
  const int units = codepage::Cp936ToUtf16(text.c_str(), nullptr, 0);
  if (units <= 0) return {};
  std::vector<char16_t> converted(static_cast<std::size_t>(units), 0);
  const int written = codepage::Cp936ToUtf16(text.c_str(), converted.data(), units);
  if (written <= 0) return {};
  converted.resize(static_cast<std::size_t>(written));
  // A converter may swallow the terminator into a broken double-byte pair (a lead byte
  // standing last); the array promises one NUL unit at its end, so restore it.
  if (converted.back() != 0) converted.push_back(0);
  ByteArray bytes(converted.size() * 2);
  for (std::size_t i = 0; i < converted.size(); ++i) {
    bytes[2 * i] = static_cast<unsigned char>(converted[i] & 0xff);
    bytes[2 * i + 1] = static_cast<unsigned char>(converted[i] >> 8);
  }
  return bytes;
}

ByteArray Utf16ToUtf8Bytes(const ByteArray& bytes) {
  const std::size_t unit_count = bytes.size() / 2;
  if (unit_count == 0 || unit_count > 0x7fffffff) return {};
  std::vector<char16_t> units(unit_count);
  for (std::size_t i = 0; i < unit_count; ++i)
    units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  // Both passes use the counted length: converting "up to the NUL unit" would read past an
  // array that happens to hold none.
  const int count = static_cast<int>(unit_count);
  const int size = codepage::Utf16ToUtf8(units.data(), count, nullptr, 0);
  if (size <= 0) return {};
  std::vector<char> converted(static_cast<std::size_t>(size), 0);
  const int written = codepage::Utf16ToUtf8(units.data(), count, converted.data(), size);
  if (written <= 0) return {};
  ByteArray out(converted.begin(), converted.begin() + written);
  if (out.back() != 0) out.push_back(0);
  return out;
}

ByteArray AnsiToUtf8Bytes(const AnsiText& text) { return Utf16ToUtf8Bytes(AnsiToUtf16Bytes(text)); }

AnsiText EncodeQueryText(const AnsiText& text) {
  static const char kHexDigits[] = "0123456789ABCDEF";
  const ByteArray bytes = AnsiToUtf8Bytes(text);
  AnsiText encoded;
  if (bytes.size() > 1) encoded.reserve(3 * (bytes.size() - 1));
  for (const unsigned char byte : bytes) {
    if (byte == 0) break;  // the terminator
    encoded.push_back('%');
    encoded.push_back(kHexDigits[byte >> 4]);
    encoded.push_back(kHexDigits[byte & 0x0f]);
  }
  return encoded;
}
