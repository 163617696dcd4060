// start_signal_holder: creates the start-signal section, runs a program under it until that
// program's window is up, and reports what became of the section's bytes.
//
//   start_signal_holder.exe --out FILE --title-hex HEX [--timeout S] [--no-section] -- PROGRAM
//
// The section (16 full-width bytes of name, one page long) starts filled with 0xAB. The
// program is started, then the holder waits for a top-level window of that process whose
// title bytes are HEX, ends the program and writes to FILE:
//   {"window":true|false,"started":true|false,"bytes":"HEX of the first 16 bytes"}
// With --no-section nothing is created and "bytes" is empty. The section name and the title
// are converted with code page 936 named, so the holder works under any ANSI code page (and
// the program it starts inherits its locale).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32_guards.h"

namespace {

// Ｓｕｐｅｒ－ＥＣ in full-width characters, code page 936.
const char kSectionName[] = "\xA3\xD3\xA3\xF5\xA3\xF0\xA3\xE5\xA3\xF2\xA3\xAD\xA3\xC5\xA3\xC3";
constexpr DWORD kSectionSize = 4096;

struct Search {
  DWORD pid;
  std::string title;
  bool found = false;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) noexcept {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid) return TRUE;
  wchar_t wide[256] = {};
  const int length = GetWindowTextW(window, wide, 256);
  char title[512] = {};
  if (length > 0) {
    WideCharToMultiByte(936, 0, wide, length, title, sizeof title - 1, nullptr, nullptr);
  }
  if (search->title == title) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
  }
  return bytes;
}

std::string Hex(const unsigned char* bytes, std::size_t size) {
  std::string out;
  char pair[3];
  for (std::size_t i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
    out += pair;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out, titleHex, program;
  double timeout = 20;
  bool withSection = true;
  for (int i = 1; i < argc; ++i) {
    const std::string key = argv[i];
    if (key == "--") {
      if (i + 1 < argc) program = argv[i + 1];
      break;
    }
    if (key == "--no-section") {
      withSection = false;
    } else if (i + 1 < argc && key == "--out") {
      out = argv[++i];
    } else if (i + 1 < argc && key == "--title-hex") {
      titleHex = argv[++i];
    } else if (i + 1 < argc && key == "--timeout") {
      timeout = std::atof(argv[++i]);
    }
  }
  if (out.empty() || program.empty()) return 2;

  UniqueHandle section;
  MappedView mapped(nullptr);
  unsigned char* view = nullptr;
  if (withSection) {
    wchar_t name[64] = {};
    MultiByteToWideChar(936, 0, kSectionName, -1, name, 64);
    section.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     kSectionSize, name));
    if (!section) return 1;
    mapped.reset(MapViewOfFile(section.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    view = static_cast<unsigned char*>(mapped.get());
    if (view == nullptr) return 1;
    std::memset(view, 0xAB, kSectionSize);
  }

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + program + "\"";
  const bool started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                                      0, nullptr, nullptr, &startup, &process) != FALSE;
  Search search{started ? process.dwProcessId : 0, FromHex(titleHex)};
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeout * 1000);
  while (started && !search.found && static_cast<LONG>(GetTickCount() - deadline) < 0) {
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(100);
  }
  if (started) {
    const UniqueHandle thread(process.hThread);
    const UniqueHandle child(process.hProcess);
    TerminateProcess(child.get(), 3);
    WaitForSingleObject(child.get(), 5000);
  }
  const std::string json = std::string("{\"window\":") + (search.found ? "true" : "false") +
                           ",\"started\":" + (started ? "true" : "false") + ",\"bytes\":\"" +
                           (view != nullptr ? Hex(view, 16) : "") + "\"}";
  FILE* file = std::fopen(out.c_str(), "wb");
  if (file == nullptr) return 1;
  std::fwrite(json.data(), 1, json.size(), file);
  std::fclose(file);
  return 0;
}
