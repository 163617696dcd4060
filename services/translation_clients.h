// The two translation engines as the rest of the tool calls them: one text in, its
// translation out, empty when there is none. They run the real exchange (HttpGetText), so COM
// must be initialised on the calling thread.
#pragma once

#include <cstdint>

#include "text/ansi_text.h"

AnsiText TranslateWithGoogle(const AnsiText& text, std::int32_t direction);
AnsiText TranslateWithMicrosoft(const AnsiText& text, std::int32_t direction);
