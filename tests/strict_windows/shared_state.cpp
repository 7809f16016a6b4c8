#include "shared_state.h"

#include <windows.h>

#include <sstream>

#include "text_format.h"

namespace {

std::string stateFile;
HANDLE stateMutex = nullptr;
std::vector<StateEntry> privateEntries;  // without a file
CRITICAL_SECTION privateLock;

// One name for every process that shares the file.
std::string mutexName(const std::string& file) {
  unsigned long hash = 2166136261u;
  for (char c : asciiLowerCase(file)) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return "Local\\KestrelStrictWindows" + std::to_string(hash);
}

class Locked {
 public:
  Locked() {
    if (stateMutex)
      WaitForSingleObject(stateMutex, INFINITE);
    else
      EnterCriticalSection(&privateLock);
  }
  ~Locked() {
    if (stateMutex)
      ReleaseMutex(stateMutex);
    else
      LeaveCriticalSection(&privateLock);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
};

StateEntry fields(const std::string& line) {
  StateEntry entry;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) entry.push_back(field);
  return entry;
}

std::string line(const StateEntry& entry) {
  std::string text;
  for (const std::string& field : entry) text += (text.empty() ? "" : "\t") + field;
  return text + "\r\n";
}

// The file's entries; none when there is no file yet.
std::vector<StateEntry> readAll() {
  if (!stateMutex) return privateEntries;
  std::vector<StateEntry> entries;
  HANDLE file = CreateFileA(stateFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return entries;
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  std::istringstream in(text);
  for (std::string row; std::getline(in, row);) {
    if (!row.empty() && row.back() == '\r') row.pop_back();
    if (!row.empty()) entries.push_back(fields(row));
  }
  return entries;
}

void writeAll(const std::vector<StateEntry>& entries) {
  if (!stateMutex) {
    privateEntries = entries;
    return;
  }
  HANDLE file = CreateFileA(stateFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string text;
  for (const StateEntry& entry : entries) text += line(entry);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

void openSharedState(const std::string& file) {
  static const bool lockMade = (InitializeCriticalSection(&privateLock), true);
  (void)lockMade;
  if (stateMutex) CloseHandle(stateMutex);
  stateFile = file;
  stateMutex = file.empty() ? nullptr : CreateMutexA(nullptr, FALSE, mutexName(file).c_str());
}

std::vector<StateEntry> stateEntries(const std::string& kind) {
  Locked locked;
  std::vector<StateEntry> found;
  for (const StateEntry& entry : readAll()) {
    if (!entry.empty() && entry.front() == kind) found.push_back(entry);
  }
  return found;
}

void addStateEntry(const StateEntry& entry) {
  Locked locked;
  std::vector<StateEntry> entries = readAll();
  entries.push_back(entry);
  writeAll(entries);
}

void dropStateEntries(const std::function<bool(const StateEntry&)>& drop) {
  Locked locked;
  std::vector<StateEntry> entries = readAll();
  std::vector<StateEntry> kept;
  for (const StateEntry& entry : entries) {
    if (!drop(entry)) kept.push_back(entry);
  }
  if (kept.size() != entries.size()) writeAll(kept);
}
