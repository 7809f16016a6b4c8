#pragma once
// Everything one run of the setup program changes, in the order it happens,
// so that a run that fails can be taken back before its message shows:
// folders and files it created, files it replaced (whose earlier content it
// keeps aside until the run has succeeded), and the registry keys it wrote.
// Filled on the GUI thread and, while it runs, by the worker through the
// extractor, never by both at once (the same hand-over as the uninstall log).
#include <string>
#include <vector>

#include "registry_state.h"
#include "undo_log.h"

class InstallationUndo final : public Escort::UndoLog {
 public:
  void directoryCreated(const char* directory) override;
  void fileCreated(const char* path) override;
  void fileReplaced(const char* path, const char* keptCopy) override;
  // Call before writing to the key: how it stands now.
  void registryKeyWillChange(const std::string& subkey);

  // Takes every change back, the latest first, and forgets them.
  void rollBack();
  // The run has succeeded: the earlier content kept aside goes, and the
  // changes are forgotten.
  void discardKeptCopies();
  // The folders created above `directory` in this run, the deepest first,
  // each with one backslash at its end.
  std::vector<std::string> createdParentsOf(const std::string& directory) const;

 private:
  struct Change {
    enum Kind { DirectoryCreated, FileCreated, FileReplaced, RegistryKeyChanged } kind;
    std::string path;
    std::string keptCopy;
    RegistryKeyState registryKey;
  };
  std::vector<Change> changes;
};
