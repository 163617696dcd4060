// The clean-up of a raw service reply before it is written into a window: escape sequences
// of the reply format and characters unwanted in a window text are rewritten or removed.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/ansi_text.h"

// Every occurrence of `search` replaced by `replacement`, ASCII letters compared without
// case. Matches start only at a character boundary (a double-byte character is stepped over
// whole). Once fewer bytes remain than `search` has, they are kept as they are, a lead byte
// standing last among them included; only a lead byte standing last that the walk reaches as a
// character of its own (with a one-byte `search`) is dropped. An empty text or search gives
// the text as is.
AnsiText ReplaceAll(const AnsiText& text, const AnsiText& search, const AnsiText& replacement);

// One rewrite: every `search` becomes `replacement` (ReplaceAll's rules).
struct ReplacementPair {
  std::string_view search;
  std::string_view replacement;
};

// Applies the pairs in turn with ReplaceAll, each over the result of the one before; an empty
// search changes nothing.
AnsiText ReplacePairs(const AnsiText& text, const ReplacementPair* pairs, std::size_t count);
template <std::size_t N>
AnsiText ReplacePairs(const AnsiText& text, const ReplacementPair (&pairs)[N]) {
  return ReplacePairs(text, pairs, N);
}

// Applies five (search, replacement) pairs in turn with ReplaceAll; an empty search changes
// nothing.
AnsiText ReplaceFivePairs(const AnsiText& text, const AnsiText& search1, const AnsiText& with1,
                          const AnsiText& search2, const AnsiText& with2,
                          const AnsiText& search3, const AnsiText& with3,
                          const AnsiText& search4, const AnsiText& with4,
                          const AnsiText& search5, const AnsiText& with5);

// The clean-up of the raw reply, one table of pairs (clean_translation.cpp); the result is
// the text to write.
AnsiText CleanTranslation(const AnsiText& rawReply);
