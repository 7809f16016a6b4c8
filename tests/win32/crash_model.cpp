#include "crash_model.h"

#include <algorithm>
#include <set>

#include "text_format.h"

namespace {

std::string lower(const std::string& text) { return asciiLowerCase(text); }

bool isBelowOrAt(const std::string& path, const std::string& root) {
  return equalsIgnoringCase(path, root) ||
         (path.size() > root.size() && path[root.size()] == '\\' && equalsIgnoringCase(path.substr(0, root.size()), root));
}

bool isRegistryChange(durable::Change::Kind kind) {
  switch (kind) {
    case durable::Change::KeyCreated:
    case durable::Change::ValueSet:
    case durable::Change::ValueDeleted:
    case durable::Change::KeyDeleted:
    case durable::Change::RegistryFlushed:
      return true;
    default:
      return false;
  }
}

// --- Reading and writing the real machine -----------------------------------

std::string fileContent(const std::string& path) {
  std::string bytes;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

void readFolder(const std::string& folder, Machine& machine) {
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const std::string content = fileContent(folder);
    machine.files[lower(folder)] = {folder, false, content, content.size()};
    return;
  }
  machine.files[lower(folder)] = {folder, true, "", 0};
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") readFolder(folder + '\\' + name, machine);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

void readKey(const std::string& subkey, Machine& machine) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  ModelKey model;
  model.name = subkey;
  DWORD subkeys = 0, values = 0, longestName = 0, longestData = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, &longestName, &longestData,
                   nullptr, nullptr);
  for (DWORD n = 0; n < values; ++n) {
    std::string name(longestName + 1, '\0'), data(longestData + 1, '\0');
    DWORD nameLength = longestName + 1, dataLength = longestData + 1, type = 0;
    if (RegEnumValueA(key, n, &name[0], &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &dataLength) ==
        ERROR_SUCCESS) {
      name.resize(nameLength);
      model.values[lower(name)] = {name, type, data.substr(0, dataLength)};
    }
  }
  std::vector<std::string> children;
  for (DWORD n = 0; n < subkeys; ++n) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, n, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      children.emplace_back(name, length);
  }
  RegCloseKey(key);
  machine.keys[lower(subkey)] = model;
  for (const std::string& child : children) readKey(subkey + '\\' + child, machine);
}

void removeFolderTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") removeFolderTree(path + '\\' + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

void removeKeyTree(const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  std::vector<std::string> children;
  char name[256];
  for (DWORD n = 0;; ++n) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, n, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const std::string& child : children) removeKeyTree(subkey + '\\' + child);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, subkey.c_str());
}

size_t depth(const std::string& path) { return std::count(path.begin(), path.end(), '\\'); }

// --- The model ---------------------------------------------------------------

void applyFileChange(const durable::Change& change, Machine& machine) {
  const std::string key = lower(change.path);
  switch (change.kind) {
    case durable::Change::FileCreated:
      machine.files[key] = {change.path, false, "", 0};
      break;
    case durable::Change::FileWritten:
      machine.files[key].content += change.data;
      break;
    case durable::Change::FileFlushed:
      if (machine.files.count(key)) machine.files[key].durableBytes = machine.files[key].content.size();
      break;
    case durable::Change::VolumeFlushed:
      for (auto& [path, entry] : machine.files) {
        if (isBelowOrAt(path, lower(change.path))) entry.durableBytes = entry.content.size();
      }
      break;
    case durable::Change::FileMoved: {
      auto found = machine.files.find(key);
      if (found == machine.files.end()) break;
      ModelEntry moved = found->second;
      machine.files.erase(found);
      moved.name = change.target;
      machine.files[lower(change.target)] = moved;
      break;
    }
    case durable::Change::FileDeleted:
    case durable::Change::DirectoryRemoved:
      machine.files.erase(key);
      break;
    case durable::Change::DirectoryCreated:
      machine.files[key] = {change.path, true, "", 0};
      break;
    default:
      break;
  }
}

bool isBelowAny(const std::string& path, const std::vector<std::string>& roots) {
  return std::any_of(roots.begin(), roots.end(), [&](const std::string& root) { return isBelowOrAt(path, root); });
}

void applyRegistryChange(const durable::Change& change, const ModelRoots& roots, Machine& machine) {
  const std::string key = lower(change.path);
  switch (change.kind) {
    case durable::Change::KeyCreated:
      // The levels it made, as far up as the model reaches.
      for (std::string level = change.path; isBelowAny(level, roots.keys); level = parentDirectory(level)) {
        if (machine.keys.count(lower(level))) break;
        ModelKey made;
        made.name = level;
        machine.keys[lower(level)] = made;
      }
      break;
    case durable::Change::ValueSet:
      machine.keys[key].values[lower(change.target)] = {change.target, change.number, change.data};
      break;
    case durable::Change::ValueDeleted:
      machine.keys[key].values.erase(lower(change.target));
      break;
    case durable::Change::KeyDeleted:
      machine.keys.erase(key);
      break;
    default:
      break;
  }
}

}  // namespace

bool Machine::operator==(const Machine& other) const { return files == other.files && keys == other.keys; }

Machine readMachine(const ModelRoots& roots) {
  Machine machine;
  for (const std::string& folder : roots.folders) readFolder(folder, machine);
  for (const std::string& key : roots.keys) readKey(key, machine);
  return machine;
}

void writeMachine(const ModelRoots& roots, const Machine& machine) {
  for (const std::string& folder : roots.folders) removeFolderTree(folder);
  for (const std::string& key : roots.keys) removeKeyTree(key);
  std::vector<const ModelEntry*> entries;
  for (const auto& file : machine.files) entries.push_back(&file.second);
  std::sort(entries.begin(), entries.end(),
            [](const ModelEntry* a, const ModelEntry* b) { return depth(a->name) < depth(b->name); });
  for (const ModelEntry* entry : entries) {
    if (entry->folder) {
      CreateDirectoryA(entry->name.c_str(), nullptr);
      continue;
    }
    const HANDLE file = CreateFileA(entry->name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD written = 0;
    if (!entry->content.empty()) WriteFile(file, entry->content.data(), DWORD(entry->content.size()), &written, nullptr);
    CloseHandle(file);
  }
  std::vector<const ModelKey*> keys;
  for (const auto& key : machine.keys) keys.push_back(&key.second);
  std::sort(keys.begin(), keys.end(), [](const ModelKey* a, const ModelKey* b) { return depth(a->name) < depth(b->name); });
  for (const ModelKey* model : keys) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, model->name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    for (const auto& value : model->values)
      RegSetValueExA(key, value.second.name.c_str(), 0, value.second.type,
                     reinterpret_cast<const BYTE*>(value.second.data.data()), DWORD(value.second.data.size()));
    RegCloseKey(key);
  }
}

std::vector<std::string> machineDifferences(const Machine& expected, const Machine& actual) {
  std::vector<std::string> lines;
  for (const auto& [path, entry] : expected.files) {
    const auto found = actual.files.find(path);
    if (found == actual.files.end()) lines.push_back("- " + entry.name);
    else if (!(found->second == entry)) lines.push_back("~ " + entry.name);
  }
  for (const auto& [path, entry] : actual.files) {
    if (!expected.files.count(path)) lines.push_back("+ " + entry.name);
  }
  for (const auto& [path, key] : expected.keys) {
    const auto found = actual.keys.find(path);
    if (found == actual.keys.end()) lines.push_back("- " + key.name + "\\");
    else if (!(found->second == key)) lines.push_back("~ " + key.name + "\\");
  }
  for (const auto& [path, key] : actual.keys) {
    if (!expected.keys.count(path)) lines.push_back("+ " + key.name + "\\");
  }
  return lines;
}

RecordedRun::RecordedRun(std::vector<durable::Change> changes, ModelRoots modelRoots) : roots(std::move(modelRoots)) {
  Instant now{0, 0, 0, 0};
  instants.push_back(now);
  for (durable::Change& change : changes) {
    const durable::Change::Kind kind = change.kind;
    if (isRegistryChange(kind)) {
      registryChanges.push_back(std::move(change));
      ++now.registry;
      if (kind == durable::Change::RegistryFlushed) now.registryDurable = now.registry;
    } else {
      fileChanges.push_back(std::move(change));
      ++now.files;
      if (kind == durable::Change::FileFlushed || kind == durable::Change::VolumeFlushed) now.filesDurable = now.files;
    }
    instants.push_back(now);
  }
}

std::vector<std::pair<size_t, size_t>> RecordedRun::crashStates() const {
  std::set<std::pair<size_t, size_t>> states;
  for (const Instant& at : instants) {
    for (size_t registry = at.registryDurable; registry <= at.registry; ++registry) {
      for (size_t files = at.filesDurable; files <= at.files; ++files) states.insert({registry, files});
    }
  }
  return std::vector<std::pair<size_t, size_t>>(states.begin(), states.end());
}

Machine RecordedRun::stateAfter(const Machine& before, size_t registry, size_t files, bool dataLost,
                                bool& anyUnflushed) const {
  Machine machine = before;
  for (auto& file : machine.files) file.second.durableBytes = file.second.content.size();
  for (size_t n = 0; n < registry; ++n) applyRegistryChange(registryChanges[n], roots, machine);
  for (size_t n = 0; n < files; ++n) applyFileChange(fileChanges[n], machine);
  anyUnflushed = false;
  for (auto& file : machine.files) {
    ModelEntry& entry = file.second;
    if (entry.folder || entry.durableBytes >= entry.content.size()) continue;
    anyUnflushed = true;
    if (dataLost) std::fill(entry.content.begin() + entry.durableBytes, entry.content.end(), '\0');
  }
  return machine;
}

bool RecordedRun::within(std::string& outside) const {
  for (const durable::Change& change : fileChanges) {
    // A flush changes nothing: the folder of a root may be flushed too.
    if (change.kind == durable::Change::VolumeFlushed || change.kind == durable::Change::FileFlushed) continue;
    for (const std::string* path : {&change.path, &change.target}) {
      if (path->empty() || isBelowAny(*path, roots.folders)) continue;
      outside = *path;
      return false;
    }
  }
  for (const durable::Change& change : registryChanges) {
    if (change.kind == durable::Change::RegistryFlushed || isBelowAny(change.path, roots.keys)) continue;
    outside = change.path;
    return false;
  }
  return true;
}

namespace {

const char* const kKindNames[] = {"FileCreated",      "FileWritten",      "FileFlushed", "VolumeFlushed", "FileMoved",
                                  "FileDeleted",      "AttributesSet",    "DirectoryCreated", "DirectoryRemoved",
                                  "KeyCreated",       "ValueSet",         "ValueDeleted", "KeyDeleted", "RegistryFlushed"};

std::string describe(const durable::Change& change) {
  return std::string(kKindNames[change.kind]) + " " + change.path + (change.target.empty() ? "" : " -> " + change.target);
}

}  // namespace

std::string RecordedRun::lastChangesKept(size_t registry, size_t files, size_t count) const {
  std::string text;
  for (size_t n = registry > count ? registry - count : 0; n < registry; ++n)
    text += "\n  registry " + std::to_string(n + 1) + ": " + describe(registryChanges[n]);
  for (size_t n = files > count ? files - count : 0; n < files; ++n)
    text += "\n  file " + std::to_string(n + 1) + ": " + describe(fileChanges[n]);
  return text;
}

void ChangeRecorder::record(const durable::Change& change, void* context) {
  auto* self = static_cast<ChangeRecorder*>(context);
  EnterCriticalSection(&self->lock);
  self->recorded.push_back(change);
  LeaveCriticalSection(&self->lock);
}

ChangeRecorder::ChangeRecorder() {
  InitializeCriticalSection(&lock);
  durable::watchChanges(record, this);
}

ChangeRecorder::~ChangeRecorder() {
  durable::watchChanges(nullptr, nullptr);
  DeleteCriticalSection(&lock);
}
