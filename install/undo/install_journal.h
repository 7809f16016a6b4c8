#pragma once
// The journal of this run of the setup program: each change it is about to
// make is recorded (journal_format.h) before it is made, in the registry
// (journal_store.h), so that whatever happens to the run, the run itself, a
// later run or the uninstaller can settle it (journal_settlement.h). The
// extractor reports to it through Escort::UndoLog; the settings, the
// shortcuts and the commit through its own operations. Used on the GUI
// thread and, while the worker runs, by the worker alone, never by both.
#include <set>
#include <string>
#include <vector>

#include "journal_format.h"
#include "registry_key.h"
#include "undo_log.h"

class InstallJournal final : public Escort::UndoLog {
 public:
  // Starts the journal. False when it cannot be written, or when a journal is
  // there already: another run's, never this one's to add to.
  bool begin();
  bool began() const { return !written.empty(); }

  bool directoryWillBeCreated(const char* directory) override;
  bool fileWillBeCreated(const char* path) override;
  bool fileWillBeReplaced(const char* path, const char* keptCopy) override;
  // Records how the key stands now; call before writing to it.
  bool keyWillChange(const std::string& subkey);

  // Before the commit: the new files that took the place of earlier ones
  // reach the disk, so that no power cut after the earlier ones are gone can
  // leave neither.
  void flushReplacedFiles() const;
  // The run has succeeded: from here on a settlement finishes it instead of
  // taking it back.
  bool markCommitted();
  // After markCommitted: what the run kept aside goes, then the journal, from
  // the records as this journal wrote them (no reading back a journal of
  // thousands of records). Should that be cut off, the next settlement
  // finishes it.
  void finish() const;

  // The folders this run made above `directory`, the deepest first, each
  // with one backslash at its end.
  std::vector<std::string> createdParentsOf(const std::string& directory) const;

 private:
  bool append(const JournalRecord& record);

  RegistryKey key;
  std::vector<JournalRecord> written;  // every record, as it was written
  std::vector<std::string> createdDirectories;
  std::set<std::string> replacedFolders;  // each once, in lower case
};
