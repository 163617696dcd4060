#include "translate_pass/original_texts.h"

#include <vector>

void OriginalTexts::Record(WindowHandle window, const AnsiText& before, const AnsiText& written) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = entries_.find(window);
  if (found != entries_.end() && found->second.written == before) {
    found->second.written = written;
    return;
  }
  entries_[window] = Entry{before, written};
}

std::optional<OriginalTexts::Entry> OriginalTexts::Find(WindowHandle window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = entries_.find(window);
  if (found == entries_.end()) return std::nullopt;
  return found->second;
}

void OriginalTexts::Forget(WindowHandle window) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.erase(window);
}

void OriginalTexts::ForgetWhere(const std::function<bool(WindowHandle)>& gone) {
  std::vector<WindowHandle> handles;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& entry : entries_) handles.push_back(entry.first);
  }
  // The test may ask a window; it runs without the lock.
  for (const WindowHandle window : handles)
    if (gone(window)) Forget(window);
}

bool OriginalTexts::empty() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.empty();
}
