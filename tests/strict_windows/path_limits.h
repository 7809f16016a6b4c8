#pragma once
// Paths as Windows takes them. Its ANSI file functions refuse a path with
// ERROR_FILENAME_EXCED_RANGE at a length: they convert it into a buffer of
// MAX_PATH characters, its terminating zero included. Wine takes any length.
// And a file is renamed only within its volume, while Wine renames it to any
// drive letter whose folder lies on the same Unix file system.
#include <windows.h>

#include <string>

constexpr size_t kPathLimit = MAX_PATH;              // refused at 260 characters
constexpr size_t kDirectoryPathLimit = MAX_PATH - 12;  // CreateDirectoryA: at 248, room for an 8.3 name below

// Whether `given` (as the program wrote it, or as a full path) is too long
// for the limit; if so the last error says so. Always no when the layer
// keeps no limits in this run.
bool refusedAsTooLong(const char* given, const std::string& fullPath, size_t limit);

// Whether renaming `from` to `to` (full paths) leaves the drive: if so the
// last error is ERROR_NOT_SAME_DEVICE. Always no when the layer does not keep
// volumes apart in this run.
bool refusedAcrossVolumes(const std::string& from, const std::string& to);
