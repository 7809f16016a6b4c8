#pragma once
// Holds a running program still, or lets it run in short slices only, from
// outside, so that a scenario can act at a moment of its choosing while the
// program is part-way through its work.
#include <windows.h>

#include <functional>
#include <string>

// Every thread of the process stops (or goes on) at once.
void suspendProcess(HANDLE process);
void resumeProcess(HANDLE process);

// Lets the process run a millisecond at a time, and looks at `holds` while it
// is held between them: it returns once `holds` says yes, with the process
// held just there (to be resumed or ended), so that a state that lasts even a
// few milliseconds of the program's time is met for sure. Fails after two
// minutes.
void runUntil(HANDLE process, const std::string& what, const std::function<bool()>& holds);
