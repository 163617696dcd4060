#include "services/translation_memory.h"

std::string TranslationMemory::KeyOf(Engine engine, std::int32_t direction,
                                     const AnsiText& source) {
  std::string key;
  key.reserve(source.size() + 8);
  key += engine == Engine::kGoogle ? 'G' : 'M';
  key += std::to_string(direction);
  key += '\n';
  key += source;
  return key;
}

std::size_t TranslationMemory::CostOf(const Entry& entry) {
  return entry.key.size() + entry.translation.size();
}

std::optional<AnsiText> TranslationMemory::Find(Engine engine, std::int32_t direction,
                                                const AnsiText& source) {
  const auto found = index_.find(KeyOf(engine, direction, source));
  if (found == index_.end()) return std::nullopt;
  entries_.splice(entries_.begin(), entries_, found->second);
  return found->second->translation;
}

void TranslationMemory::Remember(Engine engine, std::int32_t direction, const AnsiText& source,
                                 const AnsiText& translation) {
  if (translation.empty()) return;
  Entry entry{KeyOf(engine, direction, source), translation};
  const std::size_t cost = CostOf(entry);
  if (cost > bounds_.maxBytes || bounds_.maxTexts == 0) return;
  const auto found = index_.find(entry.key);
  if (found != index_.end()) {
    bytes_ -= CostOf(*found->second);
    entries_.erase(found->second);
    index_.erase(found);
  }
  while (!entries_.empty() &&
         (entries_.size() >= bounds_.maxTexts || bytes_ + cost > bounds_.maxBytes))
    DropOldest();
  entries_.push_front(std::move(entry));
  index_[entries_.front().key] = entries_.begin();
  bytes_ += cost;
}

void TranslationMemory::DropOldest() {
  bytes_ -= CostOf(entries_.back());
  index_.erase(entries_.back().key);
  entries_.pop_back();
}
