#pragma once
// Making changes outlast a power cut. Windows writes file data, and the file
// system's record of names, to the disk in its own time; a journal that says
// a change is settled must not reach the disk before the change does.
#include <string>
#include <vector>

// Every change so far to the files and folders at `paths` (made, renamed,
// deleted, removed; with `written`, each file's data too) reaches the disk:
// each volume they lie on is flushed once (Windows' one flush for all its
// files, which takes an administrator), and where a volume will not be (a
// network drive; Wine refuses it for every drive), the folder of each path,
// and with `written` each file at those paths that exists, are flushed one by
// one. False, with the last error, when one of those flushes fails.
bool flushChangesTo(const std::vector<std::string>& paths, bool written = false);
