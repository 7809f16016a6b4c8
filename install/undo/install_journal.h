#pragma once
// The journal of this run of the setup program (journal_format.h, kept in the
// registry by journal_store.h): the whole plan of the run is recorded, and
// on the disk, before the first change, and whatever the run meets that the
// plan did not foresee is recorded, and on the disk, before it is done. So a
// run that fails, or that is ended from outside at any instant, a power cut
// included, can be settled (journal_settlement.h). The extractor reports to it
// through Escort::UndoLog; the commit through its own operations. Used on the
// GUI thread and, while the worker runs, by the worker alone, never by both.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "change_plan.h"
#include "journal_format.h"
#include "journal_interface.h"
#include "registry_key.h"
#include "written_files.h"

class InstallJournal final : public Escort::UndoLog {
 public:
  // Records `plan` and how its keys stand now, and waits until that is on the
  // disk. False, with the last error, when it cannot be, or when a journal is
  // there already: another run's, never this one's to add to.
  bool begin(const ChangePlan& plan);
  bool began() const { return key.handle() != nullptr; }

  // Escort::UndoLog: what the plan holds returns at once; anything else (the
  // machine changed since the plan was made) is recorded first. A new file
  // where the plan saw an earlier one is refused (ERROR_FILE_NOT_FOUND): that
  // one may only be out of sight.
  Known knownFile(const char* path) override;
  bool directoryWillBeCreated(const char* directory) override;
  bool fileWillBeCreated(const char* path) override;
  bool fileWillBeReplaced(const char* path, std::string& keptCopy) override;
  bool fileWritten(const char* path, void* file) override { return writtenFiles.written(path, file); }

  // Before the commit: every file the run wrote, and every folder it made,
  // is on the disk, so that no power cut after the earlier files are gone can
  // leave neither. False, with the last error, when a flush fails.
  bool flushWrittenFiles();
  // Before a take-back: every flush under way ends, and no file of the run
  // stays open (Windows keeps the name of a file deleted while it is open,
  // and then its folder cannot go).
  void stopFlushing() { writtenFiles.stopFlushing(); }
  // The run has succeeded: from here on a settlement finishes it instead of
  // taking it back. Recorded, and on the disk, before it returns true.
  bool markCommitted();
  // After markCommitted: what the run kept aside goes, then the journal,
  // from the records as this journal wrote them (no reading back a journal
  // of thousands of records). Should that be cut off, or a kept copy be out
  // of reach, the next settlement finishes it.
  void finish() const;

  // How the key `subkey` of the plan stood when begin() recorded it; null
  // when the plan does not change it.
  const RegistryKeyState* keyAsItStood(const std::string& subkey) const;
  // The folders this run made above `directory`, the deepest first, each
  // with one backslash at its end.
  std::vector<std::string> createdParentsOf(const std::string& directory) const;

 private:
  struct Place {
    size_t value;
    size_t index;
  };
  std::vector<JournalRecord> records() const;
  bool writeValue(size_t value) const;
  // A record the plan did not hold, as a value of its own, on the disk.
  bool append(const JournalRecord& record);
  // The plan's record for a file, changed, and on the disk.
  bool change(const Place& place, const JournalRecord& record);

  RegistryKey key;
  std::vector<std::vector<JournalRecord>> values;  // every value, as written
  std::map<std::string, Place> files;              // each file's record, by its path in lower case
  std::set<std::string> folders;                   // the folders to be made, in lower case
  std::vector<std::string> createdDirectories;
  WrittenFiles writtenFiles;
};

// The uninstaller's journal: that the registration of `productName` is being
// removed, recorded and on the disk before anything is; a run cut off from
// then on is finished by the next run of the setup program or the
// uninstaller. False, with the last error, when it cannot be recorded, or
// when a journal is there already.
bool recordUninstallation(const std::string& productName);
