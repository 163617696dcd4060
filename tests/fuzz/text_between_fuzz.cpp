// TextBetween against a reference that lists the character starts first and then tries the
// markers at each, and, for single-byte texts, against plain std::string::find.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "services/text_between.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

std::size_t ReferenceFind(const std::string& text, const std::string& marker, std::size_t from) {
  if (marker.empty()) return std::string::npos;
  for (std::size_t pos : fuzz::CharacterStarts(text, from)) {
    if (fuzz::IsLoneLeadAt(text, pos)) break;
    if (text.size() - pos >= marker.size() && text.compare(pos, marker.size(), marker) == 0)
      return pos;
  }
  return std::string::npos;
}

std::string ReferenceTextBetween(const std::string& text, const std::string& startMarker,
                                 const std::string& endMarker) {
  const std::size_t start = ReferenceFind(text, startMarker, 0);
  if (start == std::string::npos) return {};
  const std::size_t after = start + startMarker.size();
  if (after >= text.size()) return {};
  const std::size_t end = ReferenceFind(text, endMarker, after);
  if (end == std::string::npos) return {};
  return text.substr(after, end - after);
}

// Without lead bytes every byte is a character and the cut is the obvious one.
std::string SingleByteTextBetween(const std::string& text, const std::string& startMarker,
                                  const std::string& endMarker) {
  if (startMarker.empty() || endMarker.empty()) return {};
  const std::size_t start = text.find(startMarker);
  if (start == std::string::npos || start + startMarker.size() >= text.size()) return {};
  const std::size_t after = start + startMarker.size();
  const std::size_t end = text.find(endMarker, after);
  if (end == std::string::npos) return {};
  return text.substr(after, end - after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string startMarker = provider.ConsumeRandomLengthString(16);
  const std::string endMarker = provider.ConsumeRandomLengthString(16);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  const std::string cut = TextBetween(text, startMarker, endMarker);
  FUZZ_CHECK(cut == ReferenceTextBetween(text, startMarker, endMarker));
  FUZZ_CHECK(cut.size() < text.size() || cut.empty());

  bool singleByte = true;
  for (unsigned char c : text) singleByte &= c < 0x80;
  if (singleByte) FUZZ_CHECK(cut == SingleByteTextBetween(text, startMarker, endMarker));
  return 0;
}
