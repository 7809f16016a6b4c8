#pragma once
#include <functional>
#include <string>

#include "catalog.h"
#include "file_extractor.h"
#include "entry_inflater.h"
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
  // Tells the undo log where the earlier file goes aside.
  int announceReplacement(const std::string& destination, std::string& keptCopy);
  // Tells the status what failed and why; gives `result` back.
  int failed(const std::string& path, int result, unsigned long error);
  // `attempt` until it succeeds, for as long as the user says to try again a
  // file that another program holds.
  int whileHeld(const std::string& path, const std::function<bool()>& attempt);
  // Opens `out` through `open`, making the missing folders above
  // `destination` first when it fails for want of them; `notTaken` is the
  // code for a folder that takes no such file.
  int openMakingFolder(const std::string& destination, OutputFile& out, int notTaken,
                       const std::function<bool()>& open);
  int writeEntry(const CatalogEntry& entry, OutputFile& out, const std::string& destination);

  Catalog catalog;
  EntryInflater inflater;
  FileExtractorStatus* status = nullptr;
  UndoLog* undoLog = nullptr;
};

}  // namespace Escort
