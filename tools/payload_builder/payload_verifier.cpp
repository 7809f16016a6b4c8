#include "payload_verifier.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include "archive_name_rules.h"
#include "entry_inflate.h"
#include "payload_layout.h"
#include "tree_scan.h"

namespace PayloadTool {
namespace {

using Problems = std::vector<std::string>;

void checkChunkFiles(const PayloadReader& payload, Problems& problems) {
  const uint32_t chunkSize = payload.header().chunkSize;
  const uint32_t last = payload.highestChunkId();
  for (uint32_t chunkId = 1; chunkId <= last; ++chunkId) {
    auto found = payload.chunkFileSizes().find(chunkId);
    const std::string name = "chunk " + std::to_string(chunkId);
    if (found == payload.chunkFileSizes().end())
      problems.push_back(name + ": missing, though chunk " + std::to_string(last) + " exists");
    else if (chunkId < last && found->second != chunkSize)
      problems.push_back(name + ": " + std::to_string(found->second) +
                         " bytes; every chunk but the last holds the chunk size, " +
                         std::to_string(chunkSize));
    else if (chunkId == last && (found->second == 0 || found->second > chunkSize))
      problems.push_back(name + ": the last chunk holds " + std::to_string(found->second) +
                         " bytes, not 1 to " + std::to_string(chunkSize));
  }
}

void checkRecords(const PayloadReader& payload, VerifyReport& report) {
  for (size_t i = 0; i < payload.records().size(); ++i) {
    const std::string& path = payload.records()[i].path;
    const std::string shown = shownName(path);
    for (const std::string& problem : {storedPathProblem(path), unsafePathProblem(path)})
      if (!problem.empty()) report.problems.push_back(shown + ": " + problem);
    size_t first = payload.firstRecordWithKeyOf(i);
    if (first != i)
      report.notes.push_back(shown + ": record " + std::to_string(i + 1) + " repeats record " +
                             std::to_string(first + 1) + "; lookups find the first");
  }
}

// Whether the entry's data lies within the chunks that exist.
bool checkPlacement(const PayloadReader& payload, const std::string& shown,
                    const Escort::CatalogEntry& entry, Problems& problems) {
  const uint32_t chunkSize = payload.header().chunkSize;
  std::string problem;
  if (entry.chunkId == 0 || entry.chunkId > payload.highestChunkId())
    problem = "chunk id " + std::to_string(entry.chunkId) + " names no chunk";
  else if (entry.chunkOffset >= chunkSize)
    problem = "chunk offset " + std::to_string(entry.chunkOffset) + " is not below the chunk size";
  else if (streamOffsetOf(entry, chunkSize) + entry.compressedSize > payload.streamBytes())
    problem = "data runs past the end of the last chunk";
  if (!problem.empty()) problems.push_back(shown + ": " + problem);
  return problem.empty();
}

void checkNoOverlap(const PayloadReader& payload, const std::set<std::string>& placed,
                    Problems& problems) {
  struct Range {
    uint64_t begin, end;
    std::string path;
  };
  std::vector<Range> ranges;
  for (const std::string& path : placed) {
    const Escort::CatalogEntry& entry = payload.catalog().at(path);
    uint64_t begin = streamOffsetOf(entry, payload.header().chunkSize);
    ranges.push_back({begin, begin + entry.compressedSize, path});
  }
  std::sort(ranges.begin(), ranges.end(),
            [](const Range& a, const Range& b) { return a.begin < b.begin; });
  const Range* reachesFurthest = nullptr;
  for (const Range& range : ranges) {
    if (reachesFurthest && range.begin < reachesFurthest->end)
      problems.push_back(shownName(range.path) + ": data overlaps that of " +
                         shownName(reachesFurthest->path));
    if (!reachesFurthest || range.end > reachesFurthest->end) reachesFurthest = &range;
  }
}

// Compares inflated output with a file as it arrives, so neither is held whole.
class FileComparison {
 public:
  explicit FileComparison(const std::string& path)
      : file_(path, std::ios::binary), same_(!!file_) {}

  void compare(const char* data, size_t size) {
    buffer_.resize(size);
    if (same_ && !(file_.read(buffer_.data(), static_cast<std::streamsize>(size)) &&
                   std::equal(data, data + size, buffer_.begin())))
      same_ = false;
  }

  bool sameToTheEnd() { return same_ && file_.peek() == std::ifstream::traits_type::eof(); }

 private:
  std::ifstream file_;
  bool same_;
  std::vector<char> buffer_;
};

// Inflates the entry and, when `treeFile` is not empty, compares it with that file.
void checkData(const PayloadReader& payload, const std::string& shown,
               const Escort::CatalogEntry& entry, const std::string& treeFile, Problems& problems) {
  std::unique_ptr<FileComparison> comparison;
  if (!treeFile.empty()) comparison = std::make_unique<FileComparison>(treeFile);
  auto sink = [&](const char* data, size_t size) {
    if (comparison) comparison->compare(data, size);
  };
  const std::string problem = inflateEntry(payload, entry, sink);
  if (!problem.empty())
    problems.push_back(shown + ": " + problem);
  else if (comparison && !comparison->sameToTheEnd())
    problems.push_back(shown + ": differs from " + treeFile);
}

std::map<std::string, std::string> treeFilesByArchivePath(const std::string& treeDir,
                                                          Problems& problems) {
  std::vector<TreeFile> files;
  Problems treeProblems = scanTree(treeDir, files);
  for (std::string& problem : findTreeFileProblems(files)) treeProblems.push_back(problem);
  for (const std::string& problem : treeProblems) problems.push_back("tree: " + problem);

  std::map<std::string, std::string> byPath;
  for (const TreeFile& file : files)
    byPath.emplace(archivePathFor(file.components), file.sourcePath);
  return byPath;
}

}  // namespace

VerifyReport verifyPayload(const PayloadReader& payload, const std::string& treeDir) {
  VerifyReport report;
  checkChunkFiles(payload, report.problems);
  checkRecords(payload, report);
  const bool withTree = !treeDir.empty();
  std::map<std::string, std::string> treeFiles;
  if (withTree) treeFiles = treeFilesByArchivePath(treeDir, report.problems);

  std::set<std::string> placed;
  for (const auto& [path, entry] : payload.catalog()) {
    const std::string shown = shownName(path);
    auto treeFile = treeFiles.find(path);
    if (withTree && treeFile == treeFiles.end()) report.problems.push_back(shown + ": not in the tree");
    if (!checkPlacement(payload, shown, entry, report.problems)) continue;
    placed.insert(path);
    checkData(payload, shown, entry, treeFile == treeFiles.end() ? "" : treeFile->second,
              report.problems);
  }
  checkNoOverlap(payload, placed, report.problems);
  for (const auto& [path, sourcePath] : treeFiles) {
    if (!payload.catalog().count(path))
      report.problems.push_back(sourcePath + ": in the tree but not in the payload");
  }
  return report;
}

}  // namespace PayloadTool
