#include "pending_deletions.h"

#include "durable_changes.h"
#include "text_format.h"

namespace {

// Long enough for a scanner that has just opened a new file to let go of it;
// short enough that a user who cancelled is not kept waiting for long.
constexpr DWORD kPatienceMs = 8000;
constexpr DWORD kPauseMs = 250;

// On Windows XP..11 a file being deleted cannot even be asked for its
// attributes (access denied, as CreateFile in MSDN says of such a file):
// only "not found" says that its name is gone.
bool nameIsThere(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

class QuietWaiting final : public Waiting {
 public:
  void waitFor(const std::string&, unsigned long ms) override { Sleep(ms); }
};

}  // namespace

Waiting& quietWaiting() {
  static QuietWaiting quiet;
  return quiet;
}

void PendingDeletions::deleted(const std::string& path) {
  if (!nameIsThere(path) || !names.insert(asciiLowerCase(path)).second) return;
  files.push_back(path);
}

void PendingDeletions::goesAtRestart(const std::string& path) { names.insert(asciiLowerCase(path)); }

bool PendingDeletions::holdsOnlyPending(const std::string& folder) {
  if (names.empty()) return false;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool only = true;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") only = names.count(asciiLowerCase(folder + '\\' + name)) != 0;
  } while (only && FindNextFileA(search, &found));
  FindClose(search);
  if (only) names.insert(asciiLowerCase(folder));
  return only;
}

bool PendingDeletions::isBeingDeleted(const std::string& path) const {
  return names.count(asciiLowerCase(path)) != 0;
}

bool PendingDeletions::pause(const std::string& heldFile) {
  if (waited >= kPatienceMs) return false;
  waited += kPauseMs;
  // Gone since: the run goes on at once.
  const std::vector<std::string> left = remaining();
  const std::string& waitedFor = left.empty() ? heldFile : left.front();
  if (!waitedFor.empty()) waiting.waitFor(waitedFor, kPauseMs);
  return true;
}

std::vector<std::string> PendingDeletions::remaining() {
  std::vector<std::string> left;
  for (const std::string& file : files)
    if (nameIsThere(file)) left.push_back(file);
  return left;
}

bool PendingDeletions::removeFolder(const std::string& folder) {
  do {
    if (durable::removeDirectory(folder)) return true;
  } while (!remaining().empty() && pause());
  removeAtRestart(folder);
  return false;
}

void PendingDeletions::removeAtRestart(const std::string& folder) {
  MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
