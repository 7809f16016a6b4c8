#include "file_extractor_impl.h"

#include "archive_path.h"
#include "directory_creation.h"
#include "durable_changes.h"
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
  if (found == catalog.end()) return failed({archivePath, 0, FailureSite::EntryMissing}, kEntryMissing);

  const std::string destination = destinationPath;
  // What the undo log looked at already is not looked at again: what changed
  // since, the file's own making or renaming meets.
  const UndoLog::Known known = undoLog ? undoLog->knownFile(destinationPath) : UndoLog::Known::Nothing;
  const DWORD attributes = known == UndoLog::Known::Nothing ? GetFileAttributesA(destination.c_str())
                           : known == UndoLog::Known::EarlierFile ? FILE_ATTRIBUTE_NORMAL
                                                                    : INVALID_FILE_ATTRIBUTES;
  // No file can take the place of a folder.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return failed({destination, ERROR_ALREADY_EXISTS, FailureSite::FolderInTheWay, "GetFileAttributesA"},
                  kOutputFileFailed);
  const bool replaces = attributes != INVALID_FILE_ATTRIBUTES;
  // The shared module is compared with the copy that stands there before that
  // gives way; without an undo log nothing is kept, and an earlier file gives
  // way in one step once the new one is whole.
  const int result = replaces && (versionAware || !undoLog) ? extractBeside(found->second, destination, versionAware)
                                                            : extractInPlace(found->second, destination, replaces);
  if (result == kExtractOk) status->fileFinished();
  return result;
}

namespace {

Failure journalFailure(const std::string& path) {
  return {path, GetLastError(), FailureSite::JournalRecord, "RegSetValueExA"};
}

// The undo log refused a new file where it knows of an earlier one.
Failure creationRefused(const std::string& path) {
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND ? Failure{path, error, FailureSite::EarlierFileGone, "GetFileAttributesA"}
                                       : journalFailure(path);
}

// The code of a file that could not be opened: 2 for a folder that could not
// be made, else 3.
int openingCode(const Failure& failure) {
  return failure.site == FailureSite::FolderMake ? kDirectoryNotReady : kOutputFileFailed;
}

}  // namespace

// Written straight under its own name: the journal says first that it is
// new, or where the earlier file goes aside, so that a run that fails or is
// ended from outside takes it back whatever it holds by then. On a failure
// here the earlier file is back at once.
int FileExtractorImpl::extractInPlace(const CatalogEntry& entry, const std::string& destination, bool replaces) {
  std::string keptCopy;
  OutputFile out;
  Failure failure;
  const auto create = [&] { return out.create(destination); };
  if (!replaces) {
    if (undoLog && !undoLog->fileWillBeCreated(destination.c_str()))
      return failed(creationRefused(destination), kOutputFileFailed);
    // Another program's file that came to stand there since it was looked at
    // is kept aside as any earlier file: never deleted, never overwritten.
    replaces = !openMakingFolder(destination, out, create, failure) && out.error() == ERROR_FILE_EXISTS;
    if (!replaces && failure.happened()) return failed(failure, openingCode(failure));
  }
  if (replaces) {
    if (!putAside(destination, keptCopy, failure))
      return failed(failure, failure.systemError == ERROR_CANCELLED ? kCancelled : kOutputFileFailed);
    if (!openMakingFolder(destination, out, create, failure)) {
      if (!keptCopy.empty()) durable::moveFile(keptCopy, destination, 0);
      return failed(failure, openingCode(failure));
    }
  }
  const int result = writeEntry(entry, out, destination, undoLog != nullptr);
  if (result != kExtractOk) {
    out.close();
    durable::deleteFile(destination);  // this run's own: made with CREATE_NEW above
    if (!keptCopy.empty()) durable::moveFile(keptCopy, destination, 0);
  }
  return result;
}

bool FileExtractorImpl::putAside(const std::string& destination, std::string& keptCopy, Failure& failure) {
  // A few names at most: one the plan gave, another should a file have taken it meanwhile.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!undoLog->fileWillBeReplaced(destination.c_str(), keptCopy)) {
      failure = journalFailure(destination);
      return false;
    }
    if (whileHeld(destination, [&] { return renameAside(destination, keptCopy); })) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS) {
      // A file that went since it was looked at goes no further either: it may be out of sight only.
      failure = {destination, error, error == ERROR_FILE_NOT_FOUND ? FailureSite::EarlierFileGone : FailureSite::RenameAside,
                 "MoveFileExA"};
      return false;
    }
    keptCopy = newKeptCopyPath(destination);
    if (keptCopy.empty()) break;
  }
  failure = {destination, ERROR_FILE_EXISTS, FailureSite::KeptCopyName, "MoveFileExA"};
  return false;
}

// Written whole under a temporary name beside its destination first, then
// put in its place in one step.
int FileExtractorImpl::extractBeside(const CatalogEntry& entry, const std::string& destination, bool versionAware) {
  std::string keptCopy;
  if (undoLog && !undoLog->fileWillBeReplaced(destination.c_str(), keptCopy))
    return failed(journalFailure(destination), kOutputFileFailed);
  const std::string folder = parentDirectory(destination);
  OutputFile out;
  std::string temporary;
  Failure failure;
  if (!openMakingFolder(destination, out, [&] { return out.createTemporary(folder, temporary); }, failure)) {
    // A folder that takes no temporary file is named, not the file.
    if (failure.site == FailureSite::OutputCreate) failure = {folder, failure.systemError, FailureSite::TemporaryCreate, "CreateFileA"};
    return failed(failure, kDirectoryNotReady);
  }
  int result = writeEntry(entry, out, destination, false);
  if (result == kExtractOk) {
    // An installed copy of the shared module as new as this one, or newer, stays.
    uint64_t installed = 0, offered = 0;
    const bool keepInstalled = versionAware && readProductVersion(destination, installed) &&
                               readProductVersion(temporary, offered) && installed >= offered;
    if (!keepInstalled) {
      if (whileHeld(destination, [&] {
            return undoLog ? placeOverEarlierFile(temporary, destination, keptCopy)
                           : placeReplacing(temporary, destination);
          })) {
        if (undoLog) undoLog->fileWritten(destination.c_str(), nullptr);
        return kExtractOk;
      }
      const DWORD error = GetLastError();
      result = failed({destination, error, FailureSite::PlaceFromTemporary, "MoveFileExA"},
                      error == ERROR_CANCELLED ? kCancelled : kOutputFileFailed);
    }
  }
  durable::deleteFile(temporary);
  return result;
}

int FileExtractorImpl::failed(const Failure& failure, int result) {
  status->fileFailed(failure);
  return result;
}

bool FileExtractorImpl::whileHeld(const std::string& path, const std::function<bool()>& attempt) {
  for (;;) {
    if (attempt()) return true;
    const DWORD error = GetLastError();
    if (!isInUse(path, error)) {
      SetLastError(error);
      return false;
    }
    if (!status->fileInUse(path.c_str())) {
      SetLastError(ERROR_CANCELLED);
      return false;
    }
  }
}

// Making the file also tells whether its folder exists and takes new files.
bool FileExtractorImpl::openMakingFolder(const std::string& destination, OutputFile& out,
                                         const std::function<bool()>& open, Failure& failure) {
  if (open()) return true;
  const std::string folder = parentDirectory(destination);
  if (out.error() != ERROR_PATH_NOT_FOUND) {
    // ERROR_FILE_EXISTS is the caller's to handle: no failure of its own.
    if (out.error() != ERROR_FILE_EXISTS) failure = {destination, out.error(), FailureSite::OutputCreate, "CreateFileA"};
    return false;
  }
  const bool made = makeDirectory(folder, [this](const std::string& level) {
    return !undoLog || undoLog->directoryWillBeCreated(level.c_str());
  });
  if (!made) {
    const DWORD error = GetLastError();
    failure = {folder, error == ERROR_ALREADY_EXISTS ? out.error() : error, FailureSite::FolderMake, "CreateDirectoryA"};
    return false;
  }
  if (open()) return true;
  failure = {destination, out.error(), FailureSite::OutputCreate, "CreateFileA"};
  return false;
}

namespace {

// Where an inflater's code came from.
FailureSite inflaterSite(int result) {
  switch (result) {
    case kChunkMissing:
      return FailureSite::ChunkMissing;
    case kChunkLoadFailed:
      return FailureSite::ChunkLoad;
    case kChunkLockFailed:
      return FailureSite::ChunkLock;
    case kInflateInitFailed:
      return FailureSite::InflateInit;
    case kInflateFailed:
      return FailureSite::InflateData;
    default:
      return FailureSite::Write;
  }
}

}  // namespace

int FileExtractorImpl::writeEntry(const CatalogEntry& entry, OutputFile& out, const std::string& destination,
                                  bool toUndoLog) {
  int result = inflater.inflate(entry, out, *status);
  // A whole file goes to the undo log still open, for it to flush.
  const bool handedOver = result == kExtractOk && toUndoLog;
  const bool closed = handedOver ? undoLog->fileWritten(destination.c_str(), out.release()) : out.close();
  if (result == kExtractOk && !closed)
    return failed({destination, handedOver ? GetLastError() : out.error(), FailureSite::Close, "CloseHandle"},
                  kWriteFailed);
  if (result == kWriteFailed) return failed({destination, out.error(), FailureSite::Write, "WriteFile"}, result);
  if (result != kExtractOk) return failed({destination, 0, inflaterSite(result)}, result);
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
