// The query form of a text: code page 936 bytes -> UTF-16LE -> UTF-8 -> "%XX" for every byte.
#pragma once

#include <vector>

#include "text/ansi_text.h"

// A counted sequence of bytes: the intermediate UTF-16LE and UTF-8 forms of a text.
using ByteArray = std::vector<unsigned char>;

// UTF-16LE code units of the text (read as code page 936) followed by one NUL unit; empty
// when the conversion fails.
ByteArray AnsiToUtf16Bytes(const AnsiText& text);

// UTF-8 bytes of the UTF-16LE units in `bytes`, followed by one NUL byte; empty on failure.
ByteArray Utf16ToUtf8Bytes(const ByteArray& bytes);

ByteArray AnsiToUtf8Bytes(const AnsiText& text);

// Every UTF-8 byte of the text as "%" and two upper-case hex digits, letters and spaces
// included; the NUL terminator is never encoded. Empty for an empty or unconvertible text.
AnsiText EncodeQueryText(const AnsiText& text);
