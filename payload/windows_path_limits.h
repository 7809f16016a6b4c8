#pragma once
// The lengths that Windows' ANSI file functions accept. Wine accepts longer
// paths, so the extractor applies these itself: a destination behaves on a
// user's machine exactly as it does under test.
#include <windows.h>

#include <string>

namespace Escort {

// A file path, without its terminating zero.
constexpr size_t kMaxFilePath = MAX_PATH - 1;
// CreateDirectoryA leaves room for an 8.3 name below the directory.
constexpr size_t kMaxDirectoryPath = MAX_PATH - 12;
// GetTempFileNameA needs room for its 14-character name.
constexpr size_t kMaxTemporaryFileDirectory = MAX_PATH - 14;

inline bool fitsWindowsPath(const std::string& path) { return path.size() <= kMaxFilePath; }

}  // namespace Escort
