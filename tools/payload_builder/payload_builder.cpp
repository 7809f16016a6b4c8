#include "payload_builder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "archive_name_rules.h"
#include "payload_directory_writer.h"
#include "payload_layout.h"
#include "staged_output_dir.h"
#include "tree_scan.h"
#include "zlib_deflate.h"

namespace PayloadTool {
namespace {

struct PlannedFile {
  std::string archivePath;
  const TreeFile* file;
};

std::vector<PlannedFile> inArchiveOrder(const std::vector<TreeFile>& files) {
  std::vector<PlannedFile> planned;
  for (const TreeFile& file : files) planned.push_back({archivePathFor(file.components), &file});
  std::sort(planned.begin(), planned.end(), [](const PlannedFile& a, const PlannedFile& b) {
    return a.archivePath < b.archivePath;
  });
  return planned;
}

// Compresses every file into `stream` and notes its record. Sizes are checked
// again here because a file may have grown since the tree was scanned. Records
// past the last chunk id are caught with the stream's length, before any use.
bool compressFiles(const std::vector<PlannedFile>& planned, uint32_t chunkSize,
                   std::ostream& stream, std::vector<Escort::CatalogRecord>& records,
                   uint64_t& streamBytes, std::string& error) {
  for (const PlannedFile& plan : planned) {
    const std::string name = treeRelativeName(*plan.file);
    std::ifstream in(plan.file->sourcePath, std::ios::binary);
    DeflateCounts counts;
    if (!in || !deflateStream(in, stream, counts)) {
      error = name + ": cannot be read or compressed";
      return false;
    }
    if (counts.bytesIn > kMaxEntryBytes || counts.bytesOut > kMaxEntryBytes) {
      error = name + ": too large for a payload entry";
      return false;
    }
    Escort::CatalogRecord record;
    record.path = plan.archivePath;
    record.entry = entryAt(streamBytes, chunkSize, static_cast<uint32_t>(counts.bytesOut),
                           static_cast<uint32_t>(counts.bytesIn));
    records.push_back(record);
    streamBytes += counts.bytesOut;
  }
  return true;
}

Escort::Catalog catalogOf(const std::vector<Escort::CatalogRecord>& records) {
  Escort::Catalog catalog;
  for (const Escort::CatalogRecord& record : records) catalog.emplace(record.path, record.entry);
  return catalog;
}

}  // namespace

bool buildPayload(const std::string& treeDir, const std::string& outDir, uint32_t chunkSize,
                  BuildReport& report) {
  std::vector<TreeFile> files;
  report.problems = scanTree(treeDir, files);
  for (std::string& problem : findTreeFileProblems(files)) report.problems.push_back(problem);
  if (chunkSize == 0) report.problems.push_back("the chunk size must be at least 1");
  std::string outputProblem = StagedOutputDir::targetProblem(outDir);
  if (!outputProblem.empty()) report.problems.push_back(outputProblem);
  if (!report.problems.empty()) return false;
  if (files.empty()) report.warnings.push_back(treeDir + ": no files; the payload is empty");

  StagedOutputDir staged(outDir);
  std::string error;
  if (!staged.create(error)) {
    report.problems.push_back(error);
    return false;
  }
  // The stream is gathered in one file first so that a payload needing too
  // many chunks is refused before thousands of chunk files are written.
  const std::string streamPath = staged.path() + "/stream.tmp";
  std::vector<Escort::CatalogRecord> records;
  uint64_t streamBytes = 0;
  {
    std::ofstream stream(streamPath, std::ios::binary | std::ios::trunc);
    bool compressed =
        compressFiles(inArchiveOrder(files), chunkSize, stream, records, streamBytes, error);
    stream.close();
    if (!compressed || stream.fail()) {
      report.problems.push_back(compressed ? streamPath + ": cannot be written" : error);
      return false;
    }
  }
  std::ifstream stream(streamPath, std::ios::binary);
  bool written =
      writePayloadFiles(staged.path(), chunkSize, records, "", stream, streamBytes, error);
  stream.close();
  std::remove(streamPath.c_str());
  if (!written || !staged.commit(error)) {
    report.problems.push_back(error);
    return false;
  }
  report.summary = summarizePayload(catalogOf(records), chunkSize,
                                    chunkCountFor(streamBytes, chunkSize), streamBytes);
  return true;
}

}  // namespace PayloadTool
