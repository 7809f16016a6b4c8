#pragma once
// Making changes outlast a power cut. Windows writes file data, and the file
// system's record of names, to the disk in its own time; a journal that says
// a change is settled must not reach the disk before the change does.
#include <string>
#include <vector>

// The file or folder at `path`, flushed through a handle opened for writing:
// its data and its record. True also where nothing is there any more.
bool flushPath(const std::string& path);

// Every change so far to the names at `names` (made, renamed, deleted,
// removed), and the data of the files at `dataOf`, reaches the disk: each
// volume they lie on is flushed once (Windows XP..11: FlushFileBuffers on a
// volume's handle flushes all its files, for an administrator, MSDN), and
// where a volume will not be (a network drive; Wine 8.0 refuses it for every
// drive), each file of `dataOf` is flushed,
// or, with none, one folder there: any flush on a volume writes its record of
// names out up to that instant. False, with the last error, when a flush fails.
bool flushChangesTo(const std::vector<std::string>& names, const std::vector<std::string>& dataOf = {});
