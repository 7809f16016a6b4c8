#pragma once
// The three things an uninstall event can ask for, carried out on the real
// file system and registry. Each gives ERROR_SUCCESS when the thing is gone
// afterwards, also when it was gone already, and otherwise the Windows error
// of the call that failed. The caller has checked the parameter
// (uninstall_event_rules.h).
#include <windows.h>

#include <string>
#include <vector>

DWORD deleteFileEvent(const std::string& path);

// Removes `directory` and every empty directory below it, deepest first. A
// directory that still holds a file (or anything that is not a plain
// directory, such as a link to elsewhere, which is never followed) stays with
// its parents, and is added to `kept`; that is no failure.
DWORD deleteEmptyDirsEvent(const std::string& directory, std::vector<std::string>& kept);

// Deletes HKEY_LOCAL_MACHINE\<subkey> with everything below it, then each
// level above it that this left empty (no values, no subkeys), up to but not
// including HKEY_LOCAL_MACHINE\Software: the setup program's key
// "Software\Ninefold\Kestrel\3" brings its parents into being, and they would
// otherwise stay behind for ever.
DWORD deleteRegTreeEvent(const std::string& subkey);

// Deletes `root`\<subkey> with everything below it; nothing above it.
DWORD deleteKeyTree(HKEY root, const std::string& subkey);
