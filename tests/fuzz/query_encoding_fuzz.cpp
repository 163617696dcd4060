// The query encoding of any text: three characters per UTF-8 byte, "%" and two upper-case hex
// digits, and the bytes they spell are the UTF-8 form of the text read as code page 936.
#include <cstdint>
#include <cstring>
#include <string>

#include "services/query_encoding.h"
#include "tests/fuzz/fuzz_check.h"
#include "text/code_page_936.h"

namespace {

int HexValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;  // lower-case digits are wrong too
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The encoding reads the text as a C string, as the tool's texts are: it ends at a NUL.
  const std::string text = input.substr(0, std::strlen(input.c_str()));

  const std::string encoded = EncodeQueryText(input);
  FUZZ_CHECK(encoded.size() % 3 == 0);
  std::string decoded;
  for (std::size_t i = 0; i < encoded.size(); i += 3) {
    FUZZ_CHECK(encoded[i] == '%');
    const int high = HexValue(encoded[i + 1]);
    const int low = HexValue(encoded[i + 2]);
    FUZZ_CHECK(high >= 0 && low >= 0);
    decoded.push_back(static_cast<char>(high << 4 | low));
  }
  FUZZ_CHECK(decoded.find('\0') == std::string::npos);

  const ByteArray utf8Bytes = AnsiToUtf8Bytes(input);
  if (text.empty()) {
    FUZZ_CHECK(encoded.empty());
  } else {
    FUZZ_CHECK(!utf8Bytes.empty() && utf8Bytes.back() == 0);
    FUZZ_CHECK(decoded == std::string(utf8Bytes.begin(), utf8Bytes.end() - 1));
    FUZZ_CHECK(encoded.size() == 3 * (utf8Bytes.size() - 1));
  }
  // The same text through the boundary conversions gives the same bytes, and they are UTF-8.
  FUZZ_CHECK(decoded == utf8::FromUtf16(cp936::ToUtf16(text)));
  FUZZ_CHECK(utf8::ToUtf16(decoded).has_value());

  // Any byte array as UTF-16LE units: no fault, and a NUL byte ends every non-empty result.
  const ByteArray units(input.begin(), input.end());
  const ByteArray converted = Utf16ToUtf8Bytes(units);
  if (units.size() < 2) FUZZ_CHECK(converted.empty());
  if (!converted.empty()) FUZZ_CHECK(converted.back() == 0);
  return 0;
}
