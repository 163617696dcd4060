// AnsiText: byte text in the Chinese ANSI code page (GBK, code page 936), and the few rules
// every text routine of the tool shares: a byte of 0x80 or more starts a double-byte character,
// ASCII letters may be folded, and only the half-width and full-width spaces count as spaces.
#pragma once

#include <cstddef>
#include <string>

using AnsiText = std::string;

namespace ansi {

inline bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// Length in bytes of the character that starts at `pos`: 2 for a lead byte with a byte after
// it, 1 for any other byte. A lead byte standing last gives 1; callers that must drop such a
// byte test IsLoneLeadAt.
std::size_t CharLengthAt(const AnsiText& text, std::size_t pos);

// True when `pos` holds a lead byte with nothing after it.
bool IsLoneLeadAt(const AnsiText& text, std::size_t pos);

inline unsigned char AsciiLower(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + 32) : byte;
}

// Compares `needle.size()` bytes of `text` at `pos` with `needle`, ASCII letters folded.
bool MatchesNoCaseAt(const AnsiText& text, std::size_t pos, const AnsiText& needle);

// Compares `needle.size()` bytes of `text` at `pos` with `needle` exactly.
bool MatchesAt(const AnsiText& text, std::size_t pos, const AnsiText& needle);

// A copy without half-width spaces (0x20) and full-width spaces (A1 A1). Other double-byte
// characters stay whole; a lead byte standing last is dropped.
AnsiText WithoutSpaces(const AnsiText& text);

// True when nothing is left once the spaces are removed.
inline bool IsBlank(const AnsiText& text) { return WithoutSpaces(text).empty(); }

}  // namespace ansi
