#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace PayloadTool {

// One regular file of a payload tree.
struct TreeFile {
  std::vector<std::string> components;  // names below the tree root, as found
  std::string sourcePath;               // where to read it
  uint64_t size = 0;
};

// "ks/docs/readme.txt": the file's place in the tree, for messages.
std::string treeRelativeName(const TreeFile& file);

// Everything that keeps these files from forming a payload, one message each:
// unusable names, files at the top of the tree, files too large for a record,
// and files whose archive paths collide once lower-cased.
std::vector<std::string> findTreeFileProblems(const std::vector<TreeFile>& files);

}  // namespace PayloadTool
