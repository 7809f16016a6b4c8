#pragma once
#include <windows.h>

// The installation thread. `job` is the InstallJob; the worker measures and
// extracts everything it asks for, logs what it writes, and ends by posting
// WM_INSTALL_DONE with the result, after which it no longer touches the job or
// its uninstall log. Always returns 0: the result travels in the message.
DWORD WINAPI installWorker(LPVOID job);
