#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

// The folder that an item list from the shell's folder browser names, ending
// with one backslash (a drive root such as "E:\" stays as it is); empty when
// the item names nothing in the file system. Frees the item list either way,
// and a null item list (the user cancelled) gives "".
std::string takeBrowsedFolder(LPITEMIDLIST item);
