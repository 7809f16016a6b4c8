#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "catalog.h"

namespace PayloadTool {

// The catalog resource: the header (chunkSize, record count), the records in
// the order given, each path written as it is, and `trailer` after the last.
std::string serializeCatalog(uint32_t chunkSize, const std::vector<Escort::CatalogRecord>& records,
                             const std::string& trailer = "");

}  // namespace PayloadTool
