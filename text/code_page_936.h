// The one pair of text conversions at the tool's boundary: code page 936 (GBK) bytes, the
// tool's own text, to and from UTF-16, the platform's; and UTF-16 to and from UTF-8, the web's.
// Every conversion names its code page: nothing depends on the system's ANSI code page.
// On Windows these are MultiByteToWideChar / WideCharToMultiByte; natively glibc iconv.
#pragma once

#include <optional>
#include <string>

#include "text/ansi_text.h"

namespace cp936 {

// GBK bytes to UTF-16 (counted: NULs inside stay). Bytes that form no character become the
// platform's replacement, as with flags 0.
std::u16string ToUtf16(const AnsiText& text);

// UTF-16 to GBK; nothing when any character has no GBK form (Korean, emoji, a rare character,
// an unpaired surrogate): such a text could only come out damaged.
std::optional<AnsiText> FromUtf16(const std::u16string& units);

// UTF-16 to GBK with every character that has no GBK form as '?' (one per UTF-16 unit), as
// the ANSI calls give it on a code page 936 system: the Win32 converter first tries its
// best-fit table (U+00C0 À becomes à), which the iconv stand-in does not have.
AnsiText FromUtf16Lossy(const std::u16string& units);

}  // namespace cp936

namespace utf8 {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string FromUtf16(const std::u16string& units);

// UTF-8 to UTF-16; nothing for bytes that are not UTF-8.
std::optional<std::u16string> ToUtf16(const std::string& bytes);

}  // namespace utf8
