// What the pass may send to the translation service and write back, decided from a window's
// facts and text alone, before any request.
#pragma once

#include <cstddef>

#include "text/ansi_text.h"
#include "translate_pass/window_ports.h"

// A text longer than this (in characters, a double-byte character counting once) is not sent:
// such a text is content, not a label, and a service would refuse or truncate it.
constexpr std::size_t kLongestTextToSend = 5000;

// A translation longer than this (in bytes), or longer than kTranslationGrowthFactor times its
// source plus kTranslationGrowthSlack, is not written: a reply of that size is not a translation.
constexpr std::size_t kLongestTranslationToWrite = 64 * 1024;
constexpr std::size_t kTranslationGrowthFactor = 8;
constexpr std::size_t kTranslationGrowthSlack = 1024;

// True for windows whose text is the user's input, not the program's: an editable edit or rich
// edit control, a combo box, and the edit part of a combo box. Writing there would replace
// what the user typed or chose; a read-only edit is a label and is translated.
bool HoldsUserInput(const WindowFacts& facts);

// True when the text has at least one letter of any script. Digits, punctuation, symbols and
// spaces alone ("471", "100%", "1.0.0.0") have nothing to translate. A double-byte character
// is a letter unless it is a full-width digit, punctuation mark or symbol of rows A1 to A9
// (the full-width Latin, kana, Greek, Cyrillic and pinyin letters there are letters).
bool HasLetter(const AnsiText& text);

// Characters of a text, a double-byte character counting once.
std::size_t CharacterCount(const AnsiText& text);

bool IsShortEnoughToSend(const AnsiText& text);
bool IsTranslationWritable(const AnsiText& source, const AnsiText& translation);
