#pragma once
// The steps that take an installation back, on the real file system and
// registry: the uninstaller carries out its events with them, and the setup
// program takes a failed run back with them. Each gives ERROR_SUCCESS when
// the thing is gone (or back) afterwards, also when it was so already, and
// otherwise the Windows error of the call that failed. The caller has checked
// the parameter (uninstall_event_rules.h).
#include <windows.h>

#include <string>
#include <vector>

DWORD deleteFileEvent(const std::string& path);

// Puts the earlier file that an installation kept aside back in its place.
DWORD restoreKeptCopy(const std::string& keptCopy, const std::string& path);

// Removes the folders at and below `directory` that became empty through
// this run: the folders of what `removed` names (the files deleted and
// folders removed so far, to which it adds what it removes), deepest first,
// up to `directory`. Folders that nothing of the run was removed from stay
// untouched, however empty: they are someone else's. A folder that still
// holds something (or is a link to elsewhere, never followed) stays with its
// parents and is added to `kept`, unless all it holds is folders kept that
// way; that is no failure.
DWORD deleteEmptyDirsEvent(const std::string& directory, std::vector<std::string>& removed,
                           std::vector<std::string>& kept);

// Deletes HKEY_LOCAL_MACHINE\<subkey> with everything below it, then each
// level above it that this left empty (no values, no subkeys), up to but not
// including HKEY_LOCAL_MACHINE\Software: the setup program's key
// "Software\Ninefold\Kestrel\3" brings its parents into being, and they would
// otherwise stay behind for ever.
DWORD deleteRegTreeEvent(const std::string& subkey);

// Deletes each level above HKEY_LOCAL_MACHINE\<subkey> that is empty (no
// values, no subkeys), the nearest first, down to and including `highest`,
// one of those levels; it stops at the first that is not empty.
void deleteEmptyParentKeys(const std::string& subkey, const std::string& highest);

// Deletes `root`\<subkey> with everything below it; nothing above it.
DWORD deleteKeyTree(HKEY root, const std::string& subkey);
