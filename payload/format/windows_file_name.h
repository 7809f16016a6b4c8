#pragma once
// The rules Windows sets on one file or folder name, shared by everything
// that makes or accepts one: the payload builder for the names it stores, the
// journal's reader and the setup program's destination check for the paths
// an installation changes, and the uninstaller for the paths it removes. No
// Windows headers: tested on the host.
#include <string>

// Why `name` cannot be one level of a path on Windows, or "" when it can:
// empty, "." or "..", a character Windows does not allow in names (control
// characters and <>:"/|?*, which would also name alternate streams or
// wildcards; the second byte of a two-byte character is no such character), a
// trailing dot or blank (which Windows drops, so "a." names "a" and ". " the
// current directory), or a device name that Windows reserves (con, nul,
// com1... with any extension).
std::string windowsNameProblem(const std::string& name);
