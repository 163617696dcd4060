// The two translation engines as the rest of the tool calls them: one text in, its
// translation out, empty when there is none. Behind them is one process-wide translator (the
// routes of both engines, their rest, the translation memory) over the real exchange, so COM
// must be initialised on the calling thread.
#pragma once

#include <cstdint>
#include <vector>

#include "text/ansi_text.h"

AnsiText TranslateWithGoogle(const AnsiText& text, std::int32_t direction);
AnsiText TranslateWithMicrosoft(const AnsiText& text, std::int32_t direction);

// Starts a pass: its silence budget, and the texts a route that takes a batch asks at once.
void BeginTranslationPass(bool microsoft, std::int32_t direction,
                          const std::vector<AnsiText>& texts);
