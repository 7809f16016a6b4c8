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
  std::string keptCopy;
  if (!announcePlacement(destination, keptCopy)) return kOutputFileFailed;
  OutputFile out;
  std::string temporary;
  if (int result = createOutputFile(parentDirectory(destination), out, temporary)) return result;
  int result = writeEntry(found->second, out);
  if (result == kExtractOk) {
    // An installed copy of the shared module as new as this one, or newer, stays.
    uint64_t installed = 0, offered = 0;
    const bool keepInstalled = versionAware && readProductVersion(destination, installed) &&
                               readProductVersion(temporary, offered) && installed >= offered;
    if (!keepInstalled) result = putInPlace(temporary, destination, keptCopy);
  }
  DeleteFileA(temporary.c_str());  // nothing left to delete once it is in place
  if (result != kExtractOk) return result;

  status->fileFinished();
  return kExtractOk;
}

// Before anything is written for it, the undo log learns whether the file is
// new or replaces one, and under which name an earlier file will be kept. No
// file can take the place of a folder.
bool FileExtractorImpl::announcePlacement(const std::string& destination, std::string& keptCopy) {
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (!undoLog) return true;
  if (attributes == INVALID_FILE_ATTRIBUTES) return undoLog->fileWillBeCreated(destination.c_str());
  keptCopy = newKeptCopyPath(destination);
  return !keptCopy.empty() && undoLog->fileWillBeReplaced(destination.c_str(), keptCopy.c_str());
}

// The new file is written under a temporary name beside its destination, so
// that the destination keeps what it holds until the new file is whole. Making
// that file also tells whether the directory exists and takes new files.
int FileExtractorImpl::createOutputFile(const std::string& directory, OutputFile& out, std::string& temporary) {
  if (out.createTemporary(directory, temporary)) return kExtractOk;
  const bool made = makeDirectory(directory, [this](const std::string& level) {
    return !undoLog || undoLog->directoryWillBeCreated(level.c_str());
  });
  if (!made) return kDirectoryNotReady;
  return out.createTemporary(directory, temporary) ? kExtractOk : kOutputFileFailed;
}

int FileExtractorImpl::writeEntry(const CatalogEntry& entry, OutputFile& out) {
  int result = inflateEntry(moduleHandle, chunkSize, entry, out, *status);
  bool closed = out.close();
  if (result == kExtractOk && !closed) return kWriteFailed;
  return result;
}

// With an undo log, an earlier file is kept aside under the name it was told
// of; a file that appeared since the run looked is left alone. Without one,
// nothing is kept.
int FileExtractorImpl::putInPlace(const std::string& temporary, const std::string& destination,
                                  const std::string& keptCopy) {
  bool placed;
  if (!undoLog)
    placed = placeReplacing(temporary, destination);
  else if (keptCopy.empty())
    placed = placeNewFile(temporary, destination);
  else
    placed = placeOverEarlierFile(temporary, destination, keptCopy);
  return placed ? kExtractOk : kOutputFileFailed;
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
