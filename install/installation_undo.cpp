#include "installation_undo.h"

#include <windows.h>

#include "text_format.h"
#include "undo_actions.h"

void InstallationUndo::directoryCreated(const char* directory) {
  changes.push_back({Change::DirectoryCreated, directory, "", {}});
}

void InstallationUndo::fileCreated(const char* path) { changes.push_back({Change::FileCreated, path, "", {}}); }

void InstallationUndo::fileReplaced(const char* path, const char* keptCopy) {
  changes.push_back({Change::FileReplaced, path, keptCopy, {}});
}

void InstallationUndo::registryKeyWillChange(const std::string& subkey) {
  changes.push_back({Change::RegistryKeyChanged, subkey, "", captureKeyState(subkey)});
}

// Whatever cannot be taken back (a file someone holds open) stays as it is;
// the rest is still taken back.
void InstallationUndo::rollBack() {
  for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
    switch (change->kind) {
      case Change::DirectoryCreated:
        RemoveDirectoryA(change->path.c_str());  // only when empty, as it was made
        break;
      case Change::FileCreated:
        deleteFileEvent(change->path);
        break;
      case Change::FileReplaced:
        restoreKeptCopy(change->keptCopy, change->path);
        break;
      case Change::RegistryKeyChanged:
        restoreKeyState(change->registryKey);
        break;
    }
  }
  changes.clear();
}

void InstallationUndo::discardKeptCopies() {
  for (const Change& change : changes) {
    if (change.kind == Change::FileReplaced) DeleteFileA(change.keptCopy.c_str());
  }
  changes.clear();
}

std::vector<std::string> InstallationUndo::createdParentsOf(const std::string& directory) const {
  std::string path = directory;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  std::vector<std::string> parents;
  for (path = parentDirectory(path); !path.empty(); path = parentDirectory(path)) {
    for (const Change& change : changes) {
      if (change.kind == Change::DirectoryCreated && equalsIgnoringCase(change.path, path))
        parents.push_back(path + '\\');
    }
  }
  return parents;
}
