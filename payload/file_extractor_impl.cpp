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
  status = statusObject;
  inflater.readFrom(module, header.chunkSize);
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
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  // No file can take the place of a folder.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return failed(destination, kOutputFileFailed, ERROR_ALREADY_EXISTS);
  const bool replaces = attributes != INVALID_FILE_ATTRIBUTES;
  // The shared module is compared with the copy that stands there before that
  // gives way; without an undo log nothing is kept, and an earlier file gives
  // way in one step once the new one is whole.
  const int result = replaces && (versionAware || !undoLog) ? extractBeside(found->second, destination, versionAware)
                                                            : extractInPlace(found->second, destination, replaces);
  if (result == kExtractOk) status->fileFinished();
  return result;
}

// Written straight under its own name: the journal says first that it is
// new, or where the earlier file goes aside, so that a run that fails or is
// ended from outside takes it back whatever it holds by then. On a failure
// here the earlier file is back at once.
int FileExtractorImpl::extractInPlace(const CatalogEntry& entry, const std::string& destination, bool replaces) {
  std::string keptCopy;
  if (replaces) {
    if (int result = announceReplacement(destination, keptCopy)) return result;
    if (int result = whileHeld(destination, [&] { return renameAside(destination, keptCopy); })) return result;
  } else if (undoLog && !undoLog->fileWillBeCreated(destination.c_str())) {
    return failed(destination, kOutputFileFailed, GetLastError());
  }
  OutputFile out;
  int result = openMakingFolder(destination, out, kOutputFileFailed, [&] { return out.create(destination); });
  if (result == kExtractOk) result = writeEntry(entry, out, destination);
  if (result != kExtractOk) {
    out.close();
    DeleteFileA(destination.c_str());
    if (!keptCopy.empty()) MoveFileExA(keptCopy.c_str(), destination.c_str(), 0);
  }
  return result;
}

// Written whole under a temporary name beside its destination first, then
// put in its place in one step.
int FileExtractorImpl::extractBeside(const CatalogEntry& entry, const std::string& destination, bool versionAware) {
  std::string keptCopy;
  if (undoLog) {
    if (int result = announceReplacement(destination, keptCopy)) return result;
  }
  const std::string folder = parentDirectory(destination);
  OutputFile out;
  std::string temporary;
  int result =
      openMakingFolder(destination, out, kDirectoryNotReady, [&] { return out.createTemporary(folder, temporary); });
  if (result == kExtractOk) result = writeEntry(entry, out, destination);
  if (result == kExtractOk) {
    // An installed copy of the shared module as new as this one, or newer, stays.
    uint64_t installed = 0, offered = 0;
    const bool keepInstalled = versionAware && readProductVersion(destination, installed) &&
                               readProductVersion(temporary, offered) && installed >= offered;
    if (!keepInstalled) {
      result = whileHeld(destination, [&] {
        return undoLog ? placeOverEarlierFile(temporary, destination, keptCopy) : placeReplacing(temporary, destination);
      });
      if (result == kExtractOk) return kExtractOk;
    }
  }
  if (!temporary.empty()) DeleteFileA(temporary.c_str());
  return result;
}

int FileExtractorImpl::announceReplacement(const std::string& destination, std::string& keptCopy) {
  keptCopy = newKeptCopyPath(destination);
  if (keptCopy.empty()) return failed(destination, kOutputFileFailed, ERROR_FILE_EXISTS);
  if (!undoLog->fileWillBeReplaced(destination.c_str(), keptCopy.c_str()))
    return failed(destination, kOutputFileFailed, GetLastError());
  return kExtractOk;
}

int FileExtractorImpl::failed(const std::string& path, int result, unsigned long error) {
  status->fileFailed(path.c_str(), error);
  return result;
}

int FileExtractorImpl::whileHeld(const std::string& path, const std::function<bool()>& attempt) {
  for (;;) {
    if (attempt()) return kExtractOk;
    const DWORD error = GetLastError();
    if (!isHeldError(error)) return failed(path, kOutputFileFailed, error);
    if (!status->fileInUse(path.c_str())) return kCancelled;
  }
}

// Making the file also tells whether its folder exists and takes new files.
int FileExtractorImpl::openMakingFolder(const std::string& destination, OutputFile& out, int notTaken,
                                        const std::function<bool()>& open) {
  if (open()) return kExtractOk;
  const std::string folder = parentDirectory(destination);
  if (out.error() != ERROR_PATH_NOT_FOUND) return failed(notTaken == kDirectoryNotReady ? folder : destination, notTaken, out.error());
  const bool made = makeDirectory(folder, [this](const std::string& level) {
    return !undoLog || undoLog->directoryWillBeCreated(level.c_str());
  });
  if (!made) return failed(folder, kDirectoryNotReady, GetLastError() == ERROR_ALREADY_EXISTS ? out.error() : GetLastError());
  if (open()) return kExtractOk;
  return failed(notTaken == kDirectoryNotReady ? folder : destination, notTaken, out.error());
}

int FileExtractorImpl::writeEntry(const CatalogEntry& entry, OutputFile& out, const std::string& destination) {
  int result = inflater.inflate(entry, out, *status);
  const bool closed = out.close();
  if (result == kExtractOk && !closed) result = kWriteFailed;
  if (result == kWriteFailed) failed(destination, result, out.error());
  return result;
}

int FileExtractorImpl::extractTree(const char* prefix, const char* destinationDirectory,
                                   UninstallerSetup* uninstallLog, const char* description) {
  const std::string prefixKey = normalizeArchivePath(prefix);
  std::string base = destinationDirectory;
  // No directory means no place to install to, not the root of the current drive.
  if (base.empty()) return kDirectoryNotReady;
  ensureTrailingBackslash(base);

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
