#include "file_extractor_impl.h"

#include "archive_path.h"
#include "destination_directory.h"
#include "entry_inflater.h"
#include "extract_result.h"
#include "file_placement.h"
#include "output_file.h"
#include "payload_resource.h"
#include "product_version.h"
#include "text_format.h"
#include "uninstall_commands.h"

namespace Escort {

FileExtractor* getFileExtractor() {
  static FileExtractorImpl* instance = new FileExtractorImpl;  // never destroyed
  return instance;
}

bool FileExtractorImpl::open(HINSTANCE module, FileExtractorStatus* statusObject) {
  PayloadResource resource;
  if (loadPayloadResource(module, 0, resource) != kExtractOk) return false;
  // A catalog that would send a reader outside its resource is refused whole.
  CatalogHeader header;
  if (readCatalog(resource.data, resource.size, header, catalog) != CatalogReadResult::Ok)
    return false;
  // Only now: the entries already open must go on being read from their own
  // module, and reported to their own status, when another module is refused.
  moduleHandle = module;
  status = statusObject;
  chunkSize = header.chunkSize;
  directoriesInUse.clear();
  return true;
}

void FileExtractorImpl::setUndoLog(UndoLog* log) { undoLog = log; }

bool FileExtractorImpl::closeCatalog() {
  catalog.clear();
  return true;
}

int FileExtractorImpl::entrySize(const char* archivePath, uint32_t* compressedSize,
                                 uint32_t* uncompressedSize) {
  auto found = catalog.find(normalizeArchivePath(archivePath));
  if (found == catalog.end()) return kEntryMissing;
  *compressedSize = found->second.compressedSize;
  *uncompressedSize = found->second.uncompressedSize;
  return kExtractOk;
}

int FileExtractorImpl::treeSize(const char* prefix, uint32_t* compressedSum,
                                uint32_t* uncompressedSum) {
  uint32_t count = 0, compressed = 0, uncompressed = 0;
  int result = kExtractOk;
  forEachInTree(catalog, normalizeArchivePath(prefix), [&](const std::string& key, const CatalogEntry&) {
    uint32_t entryCompressed = 0, entryUncompressed = 0;
    result = entrySize(key.c_str(), &entryCompressed, &entryUncompressed);
    if (result != kExtractOk) return false;
    ++count;
    compressed += entryCompressed;  // sums wrap at 32 bits like the sizes they add
    uncompressed += entryUncompressed;
    return true;
  });
  if (result != kExtractOk) return result;
  if (count == 0) return kTreeEmpty;
  *compressedSum = compressed;
  *uncompressedSum = uncompressed;
  return kExtractOk;
}

int FileExtractorImpl::extractFile(const char* archivePath, const char* destinationPath,
                                   bool versionAware) {
  status->fileStarted(archivePath, destinationPath);
  auto found = catalog.find(normalizeArchivePath(archivePath));
  if (found == catalog.end()) return kEntryMissing;

  const std::string destination = destinationPath;
  OutputFile out;
  std::string temporary;
  if (int result = createOutputFile(parentDirectory(destination), out, temporary)) return result;
  int result = writeEntry(found->second, out);
  if (result == kExtractOk) {
    // An installed copy of the shared module as new as this one, or newer, stays.
    uint64_t installed = 0, offered = 0;
    const bool keepInstalled = versionAware && readProductVersion(destination, installed) &&
                               readProductVersion(temporary, offered) && installed >= offered;
    if (!keepInstalled) result = putInPlace(temporary, destination);
  }
  DeleteFileA(temporary.c_str());  // nothing left to delete once it is in place
  if (result != kExtractOk) return result;

  status->fileFinished();
  return kExtractOk;
}

// The new file is written under a temporary name beside its destination, so
// that the destination keeps what it holds until the new file is whole. Making
// that file also tells whether the directory exists and takes new files.
int FileExtractorImpl::createOutputFile(const std::string& directory, OutputFile& out, std::string& temporary) {
  if (directoriesInUse.insert(asciiLowerCase(directory)).second) deleteTemporaryFiles(directory);
  if (out.createTemporary(directory, temporary)) return kExtractOk;
  std::vector<std::string> created;
  const bool ready = ensureDirectory(directory, created);
  if (undoLog) {
    for (const std::string& level : created) undoLog->directoryCreated(level.c_str());
  }
  if (!ready) return kDirectoryNotReady;
  return out.createTemporary(directory, temporary) ? kExtractOk : kOutputFileFailed;
}

int FileExtractorImpl::writeEntry(const CatalogEntry& entry, OutputFile& out) {
  int result = inflateEntry(moduleHandle, chunkSize, entry, out, *status);
  bool closed = out.close();
  if (result == kExtractOk && !closed) return kWriteFailed;
  return result;
}

int FileExtractorImpl::putInPlace(const std::string& temporary, const std::string& destination) {
  std::string keptCopy;
  switch (placeFile(temporary, destination, undoLog != nullptr, keptCopy)) {
    case Placement::Created:
      if (undoLog) undoLog->fileCreated(destination.c_str());
      return kExtractOk;
    case Placement::Replaced:
      if (undoLog) undoLog->fileReplaced(destination.c_str(), keptCopy.c_str());
      return kExtractOk;
    case Placement::Failed:
      break;
  }
  return kOutputFileFailed;
}

int FileExtractorImpl::extractTree(const char* prefix, const char* destinationDirectory,
                                   UninstallerSetup* uninstallLog, const char* description) {
  const std::string prefixKey = normalizeArchivePath(prefix);
  std::string base = destinationDirectory;
  // No directory means no place to install to, not the root of the current drive.
  if (base.empty()) return kDirectoryNotReady;
  if (base.back() != '\\') base += '\\';

  int result = kExtractOk;
  uint32_t count = 0;
  forEachInTree(catalog, prefixKey, [&](const std::string& key, const CatalogEntry&) {
    const std::string destination = base + pathInTree(key, prefixKey);
    result = extractFile(key.c_str(), destination.c_str(), false);
    if (result != kExtractOk) return false;
    ++count;
    uninstallLog->addEvent(kDeleteFile, destination.c_str(), description);
    return true;
  });
  if (result != kExtractOk) return result;
  return count > 0 ? kExtractOk : kTreeEmpty;
}

}  // namespace Escort
