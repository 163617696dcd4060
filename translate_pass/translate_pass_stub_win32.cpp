// Placeholder so the program links before the translation pass lands; replaced by it.
#include "translate_pass/translate_pass_win32.h"

DWORD WINAPI TranslateWindowUnderCursorThread(LPVOID) { return 0; }
void CreateChildWindowList() {}
void ReleaseChildWindowList() {}
