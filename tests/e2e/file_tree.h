#pragma once
// Files on disk as the scenarios read them back.
#include <optional>
#include <string>
#include <vector>

#include "tree_walk.h"

// The file's size, read from its folder without opening it (so that a program
// at work on it is never in its way); nothing when there is no such file.
std::optional<unsigned long long> fileSize(const std::string& path);
// The whole file, or nothing when it cannot be read.
std::optional<std::string> fileBytes(const std::string& path);
// The whole file; fails the scenario when it cannot be read.
std::string requiredFileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// Whether a file below `folder` has the name of an earlier file that an
// installation keeps aside while it runs.
bool holdsKeptCopy(const std::string& folder);

// Whether no one else has the file open: only then can it be held alone.
bool isOpenedByNoOne(const std::string& path);

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
// While it lives, the file is held open by this program, shared with everyone
// (reading, writing, deleting), as a virus scanner, the indexer or a preview
// holds a file: a deletion then waits for it to let go, on Windows.
class Scanner {
 public:
  explicit Scanner(const std::string& path);
  ~Scanner();
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;
  void letGo();
  // Lets go `milliseconds` from now, while the scenario waits for something else.
  void letGoAfter(unsigned long milliseconds);

 private:
  static unsigned long __stdcall letGoLater(void* scanner);
  void* file;
  void* waiter = nullptr;
  unsigned long delay = 0;
};

// While it lives, this program has the file loaded as a module, as a running
// simulator has its modules: Windows maps the file, which can then be
// renamed, but neither written nor deleted.
class LoadedModule {
 public:
  explicit LoadedModule(const std::string& path);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  // The simulator ends.
  void unload();

 private:
  void* module;
};

bool isDirectory(const std::string& path);
bool pathExists(const std::string& path);
