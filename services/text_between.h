// Cutting a reply: the bytes between the first start marker and the first end marker after it.
#pragma once

#include "text/ansi_text.h"

// Markers match byte for byte (case-sensitive), only at the start of a character: the second
// byte of a double-byte character never begins a match. Empty when either marker is missing.
AnsiText TextBetween(const AnsiText& text, const AnsiText& start_marker,
                     const AnsiText& end_marker);
