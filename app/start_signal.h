// Which executable names send the start signal, and the section that receives it.
#pragma once

#include "text/ansi_text.h"

namespace start_signal {

// The name of the shared section another process creates: eight full-width characters
// (A3 D3 A3 F5 A3 F0 A3 E5 A3 F2 A3 AD A3 C5 A3 C3).
inline constexpr char kSectionName[] =
    "\xA3\xD3\xA3\xF5\xA3\xF0\xA3\xE5\xA3\xF2\xA3\xAD\xA3\xC5\xA3\xC3";

// The part after the last backslash that is a character of its own (not the second byte of a
// double-byte character); the whole path when there is none.
AnsiText FileNameOf(const AnsiText& path);

// True when the file name's last four bytes, single-byte capitals folded, read ".tmp".
bool IsTmpExecutable(const AnsiText& path);

}  // namespace start_signal
