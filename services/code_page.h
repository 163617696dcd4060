// The two code-page conversions the services need, with the calling shape of the Win32
// converters they stand for. On Windows they are MultiByteToWideChar / WideCharToMultiByte;
// in the native build a glibc iconv stand-in (code_page_iconv.cpp) takes their place.
#pragma once

namespace codepage {

// Code page 936 (GBK) bytes up to and including the terminating NUL to UTF-16 code units.
// With out == nullptr: the number of units needed (the NUL unit included). Otherwise writes
// at most out_units units and returns the number written; 0 on failure or a too-small buffer.
// Bytes that do not form a character become a replacement character, as with flags 0.
int Cp936ToUtf16(const char* text, char16_t* out, int out_units);

// `units` UTF-16 code units (-1: up to and including a NUL unit) to UTF-8, same return rules.
int Utf16ToUtf8(const char16_t* units, int unit_count, char* out, int out_bytes);

}  // namespace codepage
