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

AnsiText ReplaceFivePairs(const AnsiText& text, const AnsiText& search1, const AnsiText& with1,
                          const AnsiText& search2, const AnsiText& with2,
                          const AnsiText& search3, const AnsiText& with3,
                          const AnsiText& search4, const AnsiText& with4,
                          const AnsiText& search5, const AnsiText& with5) {
  AnsiText out = ReplaceAll(text, search1, with1);
  out = ReplaceAll(out, search2, with2);
  out = ReplaceAll(out, search3, with3);
  out = ReplaceAll(out, search4, with4);
  return ReplaceAll(out, search5, with5);
}

AnsiText CleanTranslation(const AnsiText& rawReply) {
  const AnsiText none;
  AnsiText out = ReplaceFivePairs(rawReply, "\\r", "\r\n", "\\n", " ", "\\u003c", none, "%", none,
                                  "&", none);
  out = ReplaceFivePairs(out, "(", none, ")", none, "\\", none,
                         "\xA3\xA6", none,  // ＆ full-width ampersand
                         "u003c", none);
  // Only the removal of "u003e": replacing "/" here would corrupt every translated path and
  // every "A/B" label, so the last pass has no further pairs.
  return ReplaceFivePairs(out, "u003e", none, none, none, none, none, none, none, none, none);
}
