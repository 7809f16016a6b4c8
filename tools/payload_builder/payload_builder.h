#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "payload_summary.h"

namespace PayloadTool {

struct BuildReport {
  std::vector<std::string> problems;  // why the tree was refused; empty on success
  std::vector<std::string> warnings;
  PayloadSummary summary;
};

// Builds the payload of `treeDir` into `outDir`: one level-9 zlib stream per
// file, streams back to back in ascending archive-path order, records in the
// same order. Everything about the tree is checked before any output exists,
// and the output is swapped in whole, so a refused tree leaves `outDir` as it
// was. The result depends only on the tree's names and contents.
bool buildPayload(const std::string& treeDir, const std::string& outDir, uint32_t chunkSize,
                  BuildReport& report);

}  // namespace PayloadTool
