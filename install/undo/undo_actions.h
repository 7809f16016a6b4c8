#pragma once
// The steps that take an installation back, on the real file system and
// registry: the uninstaller carries out its events with them, and a
// settlement takes a run back with them. Each gives ERROR_SUCCESS when the
// thing is gone (or back) afterwards, also when it was so already, and
// otherwise the Windows error of the call that failed. What cannot be seen
// (a drive that is not there, a folder that cannot be read) is never taken
// for gone. The caller has checked the parameter (installable_path.h).
#include <windows.h>

#include <string>
#include <vector>

#include "pending_deletions.h"

// Whether a call on `path` that failed with `error` found it gone for sure:
// not there, and the deepest level above it that is there can be seen (so
// that the levels below it are missing indeed). On a drive that is not there,
// or below a folder that cannot be read, nothing is gone: it cannot be seen.
bool isGone(const std::string& path, DWORD error);

// The drive of `path` ("E:\") when it cannot be seen at all; "" otherwise.
std::string missingDriveOf(const std::string& path);

DWORD deleteFileEvent(const std::string& path);

// Puts the earlier file that an installation kept aside back in its place;
// ERROR_SUCCESS when there is no kept copy to put back (never moved, or back
// already).
DWORD restoreKeptCopy(const std::string& keptCopy, const std::string& path);

// Removes a folder that a run made, when it is empty: ERROR_SUCCESS also when
// it is gone; ERROR_DIR_NOT_EMPTY when it holds something.
DWORD removeFolderIfEmpty(const std::string& folder);

// Removes the folders at and below `directory` that became empty through
// this run: the folders of what `removed` names (the files deleted and
// folders removed so far, to which it adds what it removes), deepest first,
// up to `directory`. Folders that nothing of the run was removed from stay
// untouched, however empty: they are someone else's. A folder that still
// holds something (or is a link to elsewhere, never followed) stays with its
// parents and is added to `kept`, unless all it holds is folders kept that
// way; that is no failure.
// A folder that holds only files being deleted is removed once they are
// gone, or marked to go at the next restart when they outlast `pending`'s
// patience; it is not kept.
DWORD deleteEmptyDirsEvent(const std::string& directory, std::vector<std::string>& removed,
                           std::vector<std::string>& kept, PendingDeletions& pending);

// The file of the program that waits for this run, which Windows XP..11
// rename but do not delete while it runs (DeleteFile fails on a mapped file,
// MSDN): moved into `folder` (which goes at the next
// restart with what it holds), or, on another volume, renamed aside beside
// itself (`besideIt`, its new name; empty otherwise) and marked to go at the
// restart.
DWORD putAsideUntilRestart(const std::string& path, const std::string& folder, std::string& besideIt);

// Deletes HKEY_LOCAL_MACHINE\<subkey> with everything below it, then each
// level above it that this left empty (no values, no subkeys), up to but not
// including HKEY_LOCAL_MACHINE\Software: the setup program's key
// "Software\Ninefold\Kestrel\3" brings its parents into being, and they would
// otherwise stay behind for ever.
DWORD deleteRegTreeEvent(const std::string& subkey);
