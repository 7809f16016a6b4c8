#pragma once
#include <string>

#include "catalog.h"
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
  bool announcePlacement(const std::string& destination, std::string& keptCopy);
  int createOutputFile(const std::string& directory, OutputFile& out, std::string& temporary);
  int writeEntry(const CatalogEntry& entry, OutputFile& out);
  int putInPlace(const std::string& temporary, const std::string& destination, const std::string& keptCopy);

  HMODULE moduleHandle = nullptr;
  uint32_t chunkSize = 0;
  Catalog catalog;
  FileExtractorStatus* status = nullptr;
  UndoLog* undoLog = nullptr;
};

}  // namespace Escort
