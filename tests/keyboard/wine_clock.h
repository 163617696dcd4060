// Elapsed wall time and thread CPU time for the keyboard's Wine tests.
#pragma once

#include <windows.h>

inline double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto toMs = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10000.0;
  };
  return toMs(kernel) + toMs(user);
}

// Drops whatever waits in the calling thread's queue, WM_QUIT included.
inline void DrainQueue() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}
