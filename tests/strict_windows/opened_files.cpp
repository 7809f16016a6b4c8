#include "opened_files.h"

#include <map>

namespace {

// Both maps are used from every thread of the program.
struct Tables {
  Tables() { InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  std::map<HANDLE, OpenedFile> files;
  std::map<HANDLE, std::string> searches;
};

Tables& tables() {
  static Tables instance;
  return instance;
}

class Locked {
 public:
  Locked() { EnterCriticalSection(&tables().lock); }
  ~Locked() { LeaveCriticalSection(&tables().lock); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
};

}  // namespace

void rememberFile(HANDLE handle, const OpenedFile& file) {
  Locked locked;
  tables().files[handle] = file;
}

bool openedFile(HANDLE handle, OpenedFile& file) {
  Locked locked;
  const auto found = tables().files.find(handle);
  if (found == tables().files.end()) return false;
  file = found->second;
  return true;
}

void updateFile(HANDLE handle, const OpenedFile& file) { rememberFile(handle, file); }

bool forgetFile(HANDLE handle, OpenedFile& file) {
  Locked locked;
  const auto found = tables().files.find(handle);
  if (found == tables().files.end()) return false;
  file = found->second;
  tables().files.erase(found);
  return true;
}

void rememberSearch(HANDLE search, const std::string& folder) {
  Locked locked;
  tables().searches[search] = folder;
}

std::string searchedFolder(HANDLE search) {
  Locked locked;
  const auto found = tables().searches.find(search);
  return found == tables().searches.end() ? std::string() : found->second;
}

void forgetSearch(HANDLE search) {
  Locked locked;
  tables().searches.erase(search);
}
