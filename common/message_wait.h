#pragma once
// A pause of the one thread that owns the program's windows: they stay
// painted and movable meanwhile.
#include <windows.h>

void waitLettingMessagesThrough(DWORD ms);
