#pragma once
// Files being deleted. Windows XP..11 only mark a file deleted while another
// program (a virus scanner, the indexer, a preview) has it open (DeleteFile,
// MSDN: deleted once its last handle closes): its name
// stays until that program lets go, nothing can open or replace it meanwhile,
// and its folder is not empty. A run that deleted such a file waits for it a
// while (saying so), and what outlasts its patience goes at the latest when
// Windows restarts; its folders are marked for removal then.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "waiting.h"

class PendingDeletions {
 public:
  explicit PendingDeletions(Waiting& waiting) : waiting(waiting) {}

  // After a deletion of `path` that succeeded: notes it when its name is still there.
  void deleted(const std::string& path);

  // `path`, renamed aside and marked to go at the next restart, counts as
  // being deleted; no run waits for it.
  void goesAtRestart(const std::string& path);

  // Whether `folder` holds nothing but files being deleted, and folders
  // that hold nothing else.
  bool holdsOnlyPending(const std::string& folder);

  // Whether the run deleted `path` and its name is still there.
  bool isBeingDeleted(const std::string& path) const;

  // One pause of the run while files are being deleted, or while another
  // program holds `heldFile` (none when neither is so); false once its
  // patience is spent.
  bool pause(const std::string& heldFile = std::string());

  // The files still being deleted, in the order they were deleted.
  std::vector<std::string> remaining();

  // Removes `folder`, which holds only files being deleted, once they are
  // gone, if they are before the run's patience is spent; otherwise marks it
  // to go at the next restart (MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT
  // removes only an empty directory, MSDN). True when
  // it is gone now.
  bool removeFolder(const std::string& folder);

  // `folder`, which holds only files being deleted, goes at the next restart.
  void removeAtRestart(const std::string& folder);

 private:
  Waiting& waiting;
  std::vector<std::string> files;
  std::set<std::string> names;  // of `files` and of the folders found holding only them, in lower case
  DWORD waited = 0;
};
