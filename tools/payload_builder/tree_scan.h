#pragma once
#include <string>
#include <vector>

#include "tree_file.h"

namespace PayloadTool {

// Collects every regular file below `root` into `files` (in no particular
// order) and returns what stands in the way, one message each. Symbolic links
// are refused rather than followed: a payload holds what the tree holds, and a
// link could point out of it or back into itself. Empty directories have no
// place in a payload and are passed over.
std::vector<std::string> scanTree(const std::string& root, std::vector<TreeFile>& files);

}  // namespace PayloadTool
