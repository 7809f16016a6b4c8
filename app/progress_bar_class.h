#pragma once
// The progress bar's window class, from the common controls of the system
// folder (system_library.h), for the dialogs that show one.
bool registerProgressBarClass();
