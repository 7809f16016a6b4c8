#pragma once
#include <string>
#include <vector>

namespace Escort {

// Creates a new, empty file with a unique name beginning with `prefix` in
// `directory` and gives its path. False when that is impossible, including
// for a directory too long for a temporary file name.
bool createTemporaryFile(const std::string& directory, const char* prefix, std::string& path);

// Makes sure `directory` exists and takes new files, creating missing levels
// from the shallowest to the deepest and adding each to `created`. Levels
// created before a failure stay.
bool ensureDirectory(const std::string& directory, std::vector<std::string>& created);

// Deletes the files in `directory` that an interrupted installation left
// behind (temporary_file_name.h).
void deleteTemporaryFiles(const std::string& directory);

}  // namespace Escort
