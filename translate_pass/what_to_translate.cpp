#include "translate_pass/what_to_translate.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kReadOnlyEditStyle = 0x0800;  // ES_READONLY

bool EqualsNoCase(const AnsiText& text, const char* name) {
  const AnsiText wanted(name);
  return text.size() == wanted.size() && ansi::MatchesNoCaseAt(text, 0, wanted);
}

bool IsEditClass(const AnsiText& className) {
  for (const char* name : {"Edit", "RichEdit", "RichEdit20A", "RichEdit20W", "RichEdit50W",
                           "RICHEDIT60W"})
    if (EqualsNoCase(className, name)) return true;
  return false;
}

bool IsComboClass(const AnsiText& className) {
  return EqualsNoCase(className, "ComboBox") || EqualsNoCase(className, "ComboBoxEx32");
}

bool InRange(unsigned char byte, unsigned char first, unsigned char last) {
  return byte >= first && byte <= last;
}

// Rows A1 to A9 hold full-width symbols, digits and letters side by side; every other
// double-byte character is a hanzi or a letter of some script.
bool IsDoubleByteLetter(unsigned char lead, unsigned char trail) {
  switch (lead) {
    case 0xA3:  // full-width ASCII: only the Latin letters
      return InRange(trail, 0xC1, 0xDA) || InRange(trail, 0xE1, 0xFA);
    case 0xA4:  // hiragana
      return InRange(trail, 0xA1, 0xF3);
    case 0xA5:  // katakana
      return InRange(trail, 0xA1, 0xF6);
    case 0xA6:  // Greek; the rest of the row is vertical punctuation
      return InRange(trail, 0xA1, 0xB8) || InRange(trail, 0xC1, 0xD8);
    case 0xA7:  // Cyrillic
      return InRange(trail, 0xA1, 0xC1) || InRange(trail, 0xD1, 0xF1);
    case 0xA8:  // pinyin letters and bopomofo; the rest of the row is symbols
      return InRange(trail, 0xA1, 0xC0) || InRange(trail, 0xC5, 0xE9);
    case 0xA1: case 0xA2: case 0xA9:  // punctuation, numerals, box drawing
    case 0x80: case 0xFF:              // no double-byte character starts with these
      return false;
    default:
      return true;
  }
}

}  // namespace

bool HoldsUserInput(const WindowFacts& facts) {
  if (IsComboClass(facts.className)) return true;
  if (!IsEditClass(facts.className)) return false;
  return (facts.style & kReadOnlyEditStyle) == 0 || IsComboClass(facts.parentClassName);
}

bool HasLetter(const AnsiText& text) {
  for (std::size_t pos = 0; pos < text.size(); pos += ansi::CharLengthAt(text, pos)) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (ansi::CharLengthAt(text, pos) == 2) {
      if (IsDoubleByteLetter(byte, static_cast<unsigned char>(text[pos + 1]))) return true;
    } else if (InRange(byte, 'A', 'Z') || InRange(byte, 'a', 'z')) {
      return true;
    }
  }
  return false;
}

std::size_t CharacterCount(const AnsiText& text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += ansi::CharLengthAt(text, pos)) ++count;
  return count;
}

bool IsShortEnoughToSend(const AnsiText& text) {
  // A byte count within the cap settles it without walking the text.
  return text.size() <= kLongestTextToSend || CharacterCount(text) <= kLongestTextToSend;
}

bool IsTranslationWritable(const AnsiText& source, const AnsiText& translation) {
  return translation.size() <= kLongestTranslationToWrite &&
         translation.size() <= kTranslationGrowthFactor * source.size() + kTranslationGrowthSlack;
}
