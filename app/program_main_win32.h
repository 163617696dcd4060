// The life of the process: start-up, the message loop and the orderly end.
#pragma once

#include <cstdint>

// The start-up sequence on the process's first thread; returns only if the message loop ends.
void ProgramMain();

void OnMainWindowCreated();     // registers F2 and gives the window its final size
void OnMainWindowDestroying();  // ends the program with exit code 0

// Runs the exit clean-up list, then ends the process. Does not return.
[[noreturn]] void EndProgram(std::int32_t exitCode);
void ExitCleanup();

// Writes three zero bytes into the shared start-signal section when the executable's name
// ends in ".tmp" (any case) and another process has created the section.
void WriteTmpStartSignal();
