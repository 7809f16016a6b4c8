#include "tree_file.h"

#include <map>

#include "archive_name_rules.h"
#include "payload_layout.h"

namespace PayloadTool {

std::string treeRelativeName(const TreeFile& file) {
  std::string name;
  for (const std::string& component : file.components)
    name += (name.empty() ? "" : "/") + component;
  return shownName(name);
}

std::vector<std::string> findTreeFileProblems(const std::vector<TreeFile>& files) {
  std::vector<std::string> problems;
  std::map<std::string, const TreeFile*> byArchivePath;
  for (const TreeFile& file : files) {
    const std::string name = treeRelativeName(file);
    bool namesUsable = true;
    for (const std::string& component : file.components) {
      std::string problem = componentProblem(component);
      if (!problem.empty()) {
        problems.push_back(name + ": " + problem);
        namesUsable = false;
      }
    }
    // The first component picks the installation root (ks, fs); a file above them has none.
    if (file.components.size() < 2)
      problems.push_back(name + ": a file at the top of the tree belongs to no installation root");
    if (file.size > kMaxEntryBytes)
      problems.push_back(name + ": " + std::to_string(file.size) +
                         " bytes, more than a payload entry can hold (" +
                         std::to_string(kMaxEntryBytes) + ")");
    if (!namesUsable) continue;

    auto [it, inserted] = byArchivePath.emplace(archivePathFor(file.components), &file);
    if (!inserted)
      problems.push_back(name + ": same archive path " + it->first + " as " +
                         treeRelativeName(*it->second) + " once lower-cased");
  }
  return problems;
}

}  // namespace PayloadTool
