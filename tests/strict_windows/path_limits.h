#pragma once
// The lengths at which Windows' ANSI file functions refuse a path with
// ERROR_FILENAME_EXCED_RANGE: they convert it into a buffer of MAX_PATH
// characters, its terminating zero included. Wine takes any length.
#include <windows.h>

#include <string>

constexpr size_t kPathLimit = MAX_PATH;              // refused at 260 characters
constexpr size_t kDirectoryPathLimit = MAX_PATH - 12;  // CreateDirectoryA: at 248, room for an 8.3 name below

// Whether `given` (as the program wrote it, or as a full path) is too long
// for the limit; if so the last error says so. Always no when the layer
// keeps no limits in this run.
bool refusedAsTooLong(const char* given, const std::string& fullPath, size_t limit);
