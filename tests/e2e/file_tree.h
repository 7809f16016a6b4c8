#pragma once
// Files on disk as the scenarios read them back.
#include <optional>
#include <string>
#include <vector>

// Every file below `directory`, by its path relative to it with backslashes,
// in the order of their lower-case names compared byte by byte: the order in
// which the payload holds them, and so the order in which they are installed.
std::vector<std::string> filesBelow(const std::string& directory);
// What the files below `directory` hold, added up.
unsigned long long bytesBelow(const std::string& directory);
// Every file and directory below `directory` ("sub\\" for a directory), sorted.
std::vector<std::string> entriesBelow(const std::string& directory);
// The file's size, read from its folder without opening it (so that a program
// at work on it is never in its way); nothing when there is no such file.
std::optional<unsigned long long> fileSize(const std::string& path);
// The whole file, or nothing when it cannot be read.
std::optional<std::string> fileBytes(const std::string& path);
// The whole file; fails the scenario when it cannot be read.
std::string requiredFileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// While it lives, the file is held open by this program, shared with no one,
// as a running simulator holds its modules.
class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path);
  ~HeldOpen();
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;

 private:
  void* file;
};
bool isDirectory(const std::string& path);
bool pathExists(const std::string& path);
