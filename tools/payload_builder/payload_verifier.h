#pragma once
#include <string>
#include <vector>

#include "payload_reader.h"

namespace PayloadTool {

struct VerifyReport {
  std::vector<std::string> problems;  // broken invariants and differences from the tree
  std::vector<std::string> notes;     // legal but worth knowing, such as a repeated path
};

// Checks `payload` against the format's invariants and against the files of
// `treeDir`: every entry inflates to exactly its file, and every file has an entry.
VerifyReport verifyPayload(const PayloadReader& payload, const std::string& treeDir);

}  // namespace PayloadTool
