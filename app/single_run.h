#pragma once
// One setup program or uninstaller at a time on the whole machine: two at
// once would each take the other's files for their own, and both write the
// one registration.
#include <windows.h>

// Takes the machine-wide mutex of Kestrel 3's installations for the rest of
// the process, waiting up to `waitMs` for the run that holds it; false when
// that run holds on. A run that ended without letting go of it (killed)
// holds it no more.
bool becomeTheOnlyRun(DWORD waitMs = 0);

// Lets go of the mutex, for the working copy that carries on this run.
void handTheRunOver();
