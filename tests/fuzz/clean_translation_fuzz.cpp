// CleanTranslation over any reply and ReplaceAll over any text, search and replacement: no
// fault, and what the clean-up promises about its result.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "translate_pass/clean_translation.h"

namespace {

bool IsSubsequence(const std::string& part, const std::string& whole) {
  std::size_t at = 0;
  for (char c : part) {
    at = whole.find(c, at);
    if (at == std::string::npos) return false;
    ++at;
  }
  return true;
}

void CheckReplaceAll(const std::string& text, const std::string& search,
                     const std::string& replacement) {
  const std::string out = ReplaceAll(text, search, replacement);
  if (text.empty() || search.empty()) {
    FUZZ_CHECK(out == text);
    return;
  }
  // Nothing but a lead byte standing last is ever lost without a match taking its place.
  if (replacement.size() <= search.size()) FUZZ_CHECK(out.size() <= text.size());
  if (replacement.size() >= search.size()) FUZZ_CHECK(out.size() + 1 >= text.size());
  if (replacement.empty()) FUZZ_CHECK(IsSubsequence(out, text));

  bool hasLetter = false;
  for (unsigned char c : search) hasLetter |= (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (replacement == search && !hasLetter) {
    const bool keptWhole = out == text;
    const bool lostLoneLead = out.size() + 1 == text.size() && text.compare(0, out.size(), out) == 0 &&
                              static_cast<unsigned char>(text.back()) >= 0x80;
    FUZZ_CHECK(keptWhole || lostLoneLead);
  }
}

void CheckCleanTranslation(const std::string& reply) {
  const std::string out = CleanTranslation(reply);
  // Every rewrite replaces whole characters with single-byte ones, so the removed characters
  // cannot come back at a character start.
  for (std::size_t pos : fuzz::CharacterStarts(out)) {
    const char c = out[pos];
    FUZZ_CHECK(c != '(' && c != ')' && c != '\\' && c != '%' && c != '&');
    FUZZ_CHECK(out.compare(pos, 2, "\xA3\xA6") != 0);  // ＆
  }
  // A reply with nothing the clean-up looks for comes out as it went in.
  bool plain = true;
  for (unsigned char c : reply) {
    plain &= c < 0x80 && c != '\\' && c != '%' && c != '&' && c != '(' && c != ')' && c != 'u' &&
             c != 'U';
  }
  if (plain) FUZZ_CHECK(out == reply);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckCleanTranslation(std::string(reinterpret_cast<const char*>(data), size));

  FuzzedDataProvider provider(data, size);
  const std::string search = provider.ConsumeRandomLengthString(16);
  const std::string replacement = provider.ConsumeRandomLengthString(16);
  const std::string text = provider.ConsumeRemainingBytesAsString();
  CheckReplaceAll(text, search, replacement);
  return 0;
}
