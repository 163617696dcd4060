#include <windows.h>

#include <cstring>

#include "app/program_main_win32.h"
#include "app/start_signal.h"
#include "app/wide_text_win32.h"
#include "platform/win32_guards.h"

namespace {

// The path read wide and converted with code page 936 named: the same bytes as the ANSI call
// gives on a code page 936 system, and on any other system a path whose backslashes and
// ".tmp" ending are still where they are (a character with no GBK form becomes '?').
AnsiText ExecutablePath() {
  // Grow the buffer until the whole path fits; a path is never cut short.
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], size);
    if (length == 0) return {};
    if (length < size) return Text936FromWide(path.data(), length);
    if (size >= 32768) return {};
  }
}

}  // namespace

void WriteTmpStartSignal() {
  if (!start_signal::IsTmpExecutable(ExecutablePath())) return;
  // The name's 16 bytes are code page 936 characters: opened by their UTF-16 form, the name is
  // the same on every system, whatever its ANSI code page would make of the bytes.
  const std::wstring name = WideFrom936(start_signal::kSectionName);
  const UniqueHandle section(
      OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name.c_str()));
  if (!section) return;
  // The view stays mapped until the process ends; only the section handle is closed.
  void* view = MapViewOfFile(section.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
  if (view == nullptr) return;
  std::memset(view, 0, 3);
}
