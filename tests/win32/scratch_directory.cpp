#include "scratch_directory.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tree_walk.h"

std::string uniqueScratchPath(const char* tag) {
  static unsigned counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::ostringstream name;
  name << temp << "kestrel-test-" << tag << "-" << GetCurrentProcessId() << "-" << ++counter;
  return name.str();
}

void removeTree(const std::string& path) {
  // Sorted, a folder comes before what it holds: backwards, after it.
  const std::vector<std::string> entries = entriesBelow(path);
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    const std::string child = withBackslash(path) + *entry;
    SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (child.back() == '\\')
      RemoveDirectoryA(child.c_str());
    else
      DeleteFileA(child.c_str());
  }
  RemoveDirectoryA(path.c_str());
}

bool fileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> directoryListing(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::string hostPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

ScratchDirectory::ScratchDirectory(const char* tag) : path_(uniqueScratchPath(tag)) {
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() { removeTree(path_); }
