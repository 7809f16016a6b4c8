#pragma once
// A fresh directory under the Wine prefix's temp folder for one test, removed afterwards.
#include <windows.h>

#include <string>
#include <vector>

std::string uniqueScratchPath(const char* tag);
void removeTree(const std::string& path);
bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);
std::vector<std::string> directoryListing(const std::string& directory);  // names, sorted

// A path of the build tree (a Unix path) as Wine's Z: drive shows it.
std::string hostPath(const std::string& unixPath);

class ScratchDirectory {
 public:
  explicit ScratchDirectory(const char* tag);
  ~ScratchDirectory();
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

 private:
  std::string path_;
};
