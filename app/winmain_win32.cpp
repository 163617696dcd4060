#include <windows.h>

#include "app/program_main_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ProgramMain();
  return 0;
}
