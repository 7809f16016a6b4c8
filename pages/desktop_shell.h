#pragma once
// Opening a document as the user who sees the desktop, from a program that
// runs elevated. What this program starts itself runs with its full
// administrator rights, and where a standard user typed an administrator's
// password to start it, as that other user: a web browser, and all it
// downloads, would too. The desktop's own shell (Explorer) runs with the
// user's ordinary rights; asked through its shell dispatch object, as
// Windows' documentation of starting an unelevated program from an elevated
// one describes, it starts the document's program itself.
#include <string>

// Asks the desktop's shell to open `file` (in the working directory
// `directory`, "" for none) and returns true once it has been asked,
// whatever it made of it: a document it has no program for is its to tell
// the user about (or to ask which program to take). False when no desktop
// shell could be reached (a shell other than Explorer, none running, or one
// of another user's that this program may not call): nothing was opened. The
// calling thread's COM apartment must be open.
bool openThroughDesktopShell(const std::string& file, const std::string& directory);
