#include "translate_pass/clean_translation.h"

AnsiText ReplaceAll(const AnsiText& text, const AnsiText& search, const AnsiText& replacement) {
  if (text.empty() || search.empty()) return text;
  AnsiText out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text.size() - pos < search.size()) {
      out.append(text, pos, AnsiText::npos);
      break;
    }
    if (ansi::MatchesNoCaseAt(text, pos, search)) {
      out += replacement;
      pos += search.size();
      continue;
    }
    if (ansi::IsLoneLeadAt(text, pos)) break;
    const std::size_t len = ansi::CharLengthAt(text, pos);
    out.append(text, pos, len);
    pos += len;
  }
  return out;
}

AnsiText ReplacePairs(const AnsiText& text, const ReplacementPair* pairs, std::size_t count) {
  AnsiText out = text;
  for (std::size_t i = 0; i < count; ++i) {
    out = ReplaceAll(out, AnsiText(pairs[i].search), AnsiText(pairs[i].replacement));
  }
  return out;
}

AnsiText ReplaceFivePairs(const AnsiText& text, const AnsiText& search1, const AnsiText& with1,
                          const AnsiText& search2, const AnsiText& with2,
                          const AnsiText& search3, const AnsiText& with3,
                          const AnsiText& search4, const AnsiText& with4,
                          const AnsiText& search5, const AnsiText& with5) {
  const ReplacementPair pairs[] = {
      {search1, with1}, {search2, with2}, {search3, with3}, {search4, with4}, {search5, with5}};
  return ReplacePairs(text, pairs);
}

namespace {

// The clean-up, as (search, replacement) pairs applied in turn, each over the result of the
// ones before; searches ignore the case of ASCII letters. The order matters: "\\u003c" goes
// whole before the lone backslashes go, and what is left of it ("u003c") after.
constexpr ReplacementPair kCleanUpPairs[] = {
    // The reply format's escapes and characters unwanted in a window text.
    {"\\r", "\r\n"},  // an escaped carriage return: a real line break
    {"\\n", " "},      // an escaped line feed: a space
    {"\\u003c", ""},   // an escaped "<"
    {"%", ""},
    {"&", ""},
    // Brackets, the backslashes left over, the full-width ampersand, a bare "<" escape.
    {"(", ""},
    {")", ""},
    {"\\", ""},
    {"\xA3\xA6", ""},  // ＆ full-width ampersand
    {"u003c", ""},
    // A bare ">" escape. Nothing here touches "/": replacing it would corrupt every
    // translated path and every "A/B" label.
    {"u003e", ""},
};

}  // namespace

AnsiText CleanTranslation(const AnsiText& rawReply) {
  return ReplacePairs(rawReply, kCleanUpPairs);
}
