#include <windows.h>

#include <cstring>

#include "app/program_main_win32.h"
#include "app/start_signal.h"
#include "platform/win32_guards.h"

namespace {

AnsiText ExecutablePath() {
  // Grow the buffer until the whole path fits; a path is never cut short.
  for (DWORD size = MAX_PATH;; size *= 2) {
    AnsiText path(size, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, &path[0], size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return path;
    }
    if (size >= 32768) return {};
  }
}

}  // namespace

void WriteTmpStartSignal() {
  if (!start_signal::IsTmpExecutable(ExecutablePath())) return;
  const UniqueHandle section(
      OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, start_signal::kSectionName));
  if (!section) return;
  // The view stays mapped until the process ends; only the section handle is closed.
  void* view = MapViewOfFile(section.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
  if (view == nullptr) return;
  std::memset(view, 0, 3);
}
