#pragma once
#include <string>
#include <vector>

#include "payload_reader.h"

namespace PayloadTool {

struct VerifyReport {
  std::vector<std::string> problems;  // broken invariants and differences from the tree
  std::vector<std::string> notes;     // legal but worth knowing, such as a repeated path
};

// Checks `payload` against the format's invariants: chunks, placement, every
// entry one zlib stream that inflates to exactly its recorded size, and stored
// paths that lookups find and that are safe to join to a destination directory.
// With a `treeDir` (not empty), also against the files of that tree: every
// entry inflates to exactly its file, and every file has an entry.
VerifyReport verifyPayload(const PayloadReader& payload, const std::string& treeDir);

}  // namespace PayloadTool
