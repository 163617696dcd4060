#include "text/ansi_text.h"

namespace ansi {

std::size_t CharLengthAt(const AnsiText& text, std::size_t pos) {
  if (pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos]))) return 2;
  return 1;
}

bool IsLoneLeadAt(const AnsiText& text, std::size_t pos) {
  return pos + 1 == text.size() && IsLeadByte(static_cast<unsigned char>(text[pos]));
}

bool MatchesNoCaseAt(const AnsiText& text, std::size_t pos, const AnsiText& needle) {
  if (pos > text.size() || text.size() - pos < needle.size()) return false;
  for (std::size_t i = 0; i < needle.size(); ++i) {
    if (AsciiLower(static_cast<unsigned char>(text[pos + i])) !=
        AsciiLower(static_cast<unsigned char>(needle[i])))
      return false;
  }
  return true;
}

bool MatchesAt(const AnsiText& text, std::size_t pos, const AnsiText& needle) {
  if (pos > text.size() || text.size() - pos < needle.size()) return false;
  return text.compare(pos, needle.size(), needle) == 0;
}

AnsiText WithoutSpaces(const AnsiText& text) {
  static const AnsiText kFullWidthSpace = "\xA1\xA1";  // "　"
  AnsiText out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    if (IsLoneLeadAt(text, pos)) break;
    const std::size_t len = CharLengthAt(text, pos);
    const bool space = (len == 1 && text[pos] == ' ') ||
                       (len == 2 && MatchesAt(text, pos, kFullWidthSpace));
    if (!space) out.append(text, pos, len);
    pos += len;
  }
  return out;
}

}  // namespace ansi
