// The texts windows had before the tool wrote them, so that Shift+F2 can put them back. Kept
// in memory for the run only; one store for the whole process.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>

#include "text/ansi_text.h"
#include "translate_pass/window_ports.h"

class OriginalTexts {
 public:
  struct Entry {
    AnsiText original;  // what the window showed before the tool first wrote it
    AnsiText written;   // what the tool wrote last
  };

  // The tool wrote `written` into a window that showed `before`. A window that still shows
  // what the tool wrote keeps its first original: translating a translation again must not
  // lose the program's own text.
  void Record(WindowHandle window, const AnsiText& before, const AnsiText& written);

  std::optional<Entry> Find(WindowHandle window) const;
  void Forget(WindowHandle window);
  // Forgets every window for which `gone` is true (its handle may be reused by another one).
  void ForgetWhere(const std::function<bool(WindowHandle)>& gone);
  bool empty() const;

 private:
  mutable std::mutex mutex_;
  std::map<WindowHandle, Entry> entries_;
};
