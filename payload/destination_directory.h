#pragma once
#include <string>

namespace Escort {

// Everything before the last '\' of `path`; empty when there is none.
std::string parentDirectory(const std::string& path);

// Makes sure `directory` exists and takes new files, creating missing levels
// from the shallowest to the deepest. Levels created before a failure stay.
bool ensureDirectory(const std::string& directory);

}  // namespace Escort
