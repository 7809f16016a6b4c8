#include "payload_extract.h"

#include <filesystem>

#include "archive_path.h"
#include "archive_name_rules.h"
#include "entry_inflate.h"
#include "payload_files.h"

namespace PayloadTool {

bool extractEntry(const PayloadReader& payload, const std::string& archivePath,
                  const std::string& outFile, std::string& error) {
  const std::string key = Escort::normalizeArchivePath(archivePath);
  auto found = payload.catalog().find(key);
  if (found == payload.catalog().end()) {
    error = shownName(key) + ": not in the payload";
    return false;
  }
  std::string content;
  const std::string problem = inflateEntry(
      payload, found->second, [&](const char* data, size_t size) { content.append(data, size); });
  if (!problem.empty()) {
    error = shownName(key) + ": " + problem;
    return false;
  }
  if (!writeFileBytes(outFile, content)) {
    std::error_code ignored;
    std::filesystem::remove(outFile, ignored);
    error = outFile + ": cannot be written";
    return false;
  }
  return true;
}

}  // namespace PayloadTool
