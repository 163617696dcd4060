// Translations remembered in memory (never saved), by engine, direction and source text, so a
// repeated text ("OK", "Cancel", the same dialog again) costs no request. Bounded by a number
// of texts and of bytes; the least recently used entry goes first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>

#include "services/routes.h"
#include "text/ansi_text.h"

struct MemoryBounds {
  std::size_t maxTexts = 20000;
  std::size_t maxBytes = 8u << 20;
};

class TranslationMemory {
 public:
  explicit TranslationMemory(MemoryBounds bounds = {}) : bounds_(bounds) {}

  std::optional<AnsiText> Find(Engine engine, std::int32_t direction, const AnsiText& source);
  // An empty translation is never remembered; neither is an entry larger than the whole bound.
  void Remember(Engine engine, std::int32_t direction, const AnsiText& source,
                const AnsiText& translation);

  std::size_t Texts() const { return entries_.size(); }

  // What names one source text for one engine and direction.
  static std::string KeyOf(Engine engine, std::int32_t direction, const AnsiText& source);
  std::size_t Bytes() const { return bytes_; }

 private:
  struct Entry {
    std::string key;
    AnsiText translation;
  };
  static std::size_t CostOf(const Entry& entry);
  void DropOldest();

  MemoryBounds bounds_;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
  std::size_t bytes_ = 0;
};
