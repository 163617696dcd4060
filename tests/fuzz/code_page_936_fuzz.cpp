// Round trips through the boundary conversions: GBK -> UTF-16 -> GBK gives the same bytes for
// valid GBK; UTF-8 -> UTF-16 -> UTF-8 gives the same bytes for valid UTF-8; UTF-16 -> UTF-8 ->
// UTF-16 gives the same units, an unpaired surrogate turned into U+FFFD.
#include <cstdint>
#include <optional>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "text/code_page_936.h"

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::u16string WithUnpairedSurrogatesReplaced(const std::u16string& units) {
  std::u16string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      out += units[i];
      out += units[++i];
    } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
      out += u'\uFFFD';
    } else {
      out += units[i];
    }
  }
  return out;
}

std::u16string AsUnits(const std::string& bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return units;
}

void CheckGbk(const std::string& bytes) {
  // Any bytes decode, each one that forms no character as a replacement.
  const std::u16string decoded = cp936::ToUtf16(bytes);
  FUZZ_CHECK(decoded.size() <= bytes.size());
  const std::optional<std::string> encoded = cp936::FromUtf16(decoded);
  // What came out of a decoding encodes again and decodes to the same units.
  FUZZ_CHECK(encoded.has_value());
  FUZZ_CHECK(cp936::ToUtf16(*encoded) == decoded);
  FUZZ_CHECK(cp936::FromUtf16Lossy(decoded) == *encoded);
}

void CheckUnits(const std::u16string& units) {
  // A GBK text made from any units (when it can be) is valid GBK: it survives the round trip.
  const std::optional<std::string> gbk = cp936::FromUtf16(units);
  const std::string lossy = cp936::FromUtf16Lossy(units);
  if (gbk) {
    FUZZ_CHECK(lossy == *gbk);
    FUZZ_CHECK(cp936::FromUtf16(cp936::ToUtf16(*gbk)) == *gbk);
  }
  FUZZ_CHECK(cp936::FromUtf16(cp936::ToUtf16(lossy)) == lossy);

  const std::string utf8Bytes = utf8::FromUtf16(units);
  const std::optional<std::u16string> back = utf8::ToUtf16(utf8Bytes);
  FUZZ_CHECK(back.has_value());
  FUZZ_CHECK(*back == WithUnpairedSurrogatesReplaced(units));
}

void CheckUtf8(const std::string& bytes) {
  const std::optional<std::u16string> units = utf8::ToUtf16(bytes);
  if (units) FUZZ_CHECK(utf8::FromUtf16(*units) == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckGbk(bytes);
  CheckUtf8(bytes);
  CheckUnits(AsUnits(bytes));
  return 0;
}
