#include "file_extractor_impl.h"

#include "archive_path.h"
#include "destination_directory.h"
#include "entry_inflater.h"
#include "extract_result.h"
#include "output_file.h"
#include "payload_resource.h"
#include "product_version.h"
#include "text_format.h"
#include "uninstall_commands.h"
#include "windows_path_limits.h"

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
  const std::string directory = parentDirectory(destination);
  if (!ensureDirectory(directory)) return kDirectoryNotReady;

  int result;
  if (versionAware) {
    // The new copy is written beside the target first, so that the versions can be
    // compared and the existing module stays untouched until the new one is whole.
    std::string temporary;
    if (!createTemporaryFile(directory, "tmp", temporary)) return kOutputFileFailed;
    result = writeEntry(found->second, temporary);
    if (result == kExtractOk) result = replaceIfNewer(temporary, destination);
    DeleteFileA(temporary.c_str());  // nothing left to delete after a successful move
  } else {
    result = writeEntry(found->second, destination);
  }
  if (result != kExtractOk) return result;

  status->fileFinished();
  return kExtractOk;
}

int FileExtractorImpl::writeEntry(const CatalogEntry& entry, const std::string& outputPath) {
  OutputFile out;
  if (!out.open(outputPath)) return kOutputFileFailed;
  int result = inflateEntry(moduleHandle, chunkSize, entry, out, *status);
  bool closed = out.close();
  if (result == kExtractOk && !closed) return kWriteFailed;
  return result;
}

int FileExtractorImpl::replaceIfNewer(const std::string& temporaryPath,
                                      const std::string& destination) {
  uint64_t installed = 0, offered = 0;
  if (readProductVersion(destination, installed) && readProductVersion(temporaryPath, offered) &&
      installed >= offered)
    return kExtractOk;  // the installed copy is as new or newer: keep it
  // One step, so that a failed replacement leaves the installed copy as it was.
  if (!fitsWindowsPath(destination) ||
      !MoveFileExA(temporaryPath.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING))
    return kOutputFileFailed;
  return kExtractOk;
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
