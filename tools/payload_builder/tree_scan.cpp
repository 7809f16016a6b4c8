#include "tree_scan.h"

#include <filesystem>

namespace PayloadTool {
namespace {

namespace fs = std::filesystem;

void scanDirectory(const fs::path& directory, const std::vector<std::string>& components,
                   std::vector<TreeFile>& files, std::vector<std::string>& problems) {
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    TreeFile file;
    file.components = components;
    file.components.push_back(it->path().filename().string());
    file.sourcePath = it->path().string();
    const std::string name = treeRelativeName(file);

    fs::file_status status = it->symlink_status(error);
    if (error) break;
    if (fs::is_symlink(status)) {
      problems.push_back(name + ": symbolic link; the builder does not follow links");
    } else if (fs::is_directory(status)) {
      scanDirectory(it->path(), file.components, files, problems);
    } else if (fs::is_regular_file(status)) {
      file.size = it->file_size(error);
      if (error) break;
      files.push_back(std::move(file));
    } else {
      problems.push_back(name + ": neither a regular file nor a directory");
    }
  }
  if (error) problems.push_back(directory.string() + ": cannot be read: " + error.message());
}

}  // namespace

std::vector<std::string> scanTree(const std::string& root, std::vector<TreeFile>& files) {
  std::vector<std::string> problems;
  std::error_code error;
  if (!fs::is_directory(root, error)) {
    problems.push_back(root + ": not a directory");
    return problems;
  }
  scanDirectory(root, {}, files, problems);
  return problems;
}

}  // namespace PayloadTool
