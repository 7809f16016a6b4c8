#pragma once
#include <functional>
#include <string>

#include "catalog.h"
#include "entry_inflater.h"
#include "failure.h"
#include "file_extractor.h"
#include "output_file.h"

namespace Escort {

class FileExtractorImpl : public FileExtractor {
 public:
  bool open(HINSTANCE module, FileExtractorStatus* status) override;
  bool closeCatalog() override;
  int extractFile(const char* archivePath, const char* destinationPath, bool versionAware) override;
  int extractTree(const char* prefix, const char* destinationDirectory,
                  UninstallerSetup* uninstallLog, const char* description) override;
  int entrySize(const char* archivePath, uint32_t* compressedSize,
                uint32_t* uncompressedSize) override;
  int treeSize(const char* prefix, uint32_t* compressedSum, uint32_t* uncompressedSum) override;
  void setUndoLog(UndoLog* log) override;

 private:
  // The file's two ways to its place (file_extractor_impl.cpp); each gives
  // an extractor code and tells the status what failed.
  int extractInPlace(const CatalogEntry& entry, const std::string& destination, bool replaces);
  int extractBeside(const CatalogEntry& entry, const std::string& destination, bool versionAware);
  // Renames the earlier file at `destination` aside, where the undo log says
  // (`keptCopy`); false, with `failure`, when it cannot.
  bool putAside(const std::string& destination, std::string& keptCopy, Failure& failure);
  // Tells the status what failed; gives `result` back.
  int failed(const Failure& failure, int result);
  // `attempt` until it succeeds, for as long as the user says to try again a
  // file that another program holds; false, with the last error, when it
  // fails otherwise or the user gives up (ERROR_CANCELLED).
  bool whileHeld(const std::string& path, const std::function<bool()>& attempt);
  // Opens `out` through `open`, making the missing folders above
  // `destination` first when it fails for want of them; false, with
  // `failure`, when it cannot.
  bool openMakingFolder(const std::string& destination, OutputFile& out, const std::function<bool()>& open,
                        Failure& failure);
  // Inflates `entry` into `out` and closes it, or, whole and `toUndoLog`,
  // hands it to the undo log open.
  int writeEntry(const CatalogEntry& entry, OutputFile& out, const std::string& destination, bool toUndoLog);

  Catalog catalog;
  EntryInflater inflater;
  FileExtractorStatus* status = nullptr;
  UndoLog* undoLog = nullptr;
};

}  // namespace Escort
