#pragma once
#include <string>

#include "payload_reader.h"
#include "zlib_inflate.h"

namespace PayloadTool {

// Inflates one entry of `payload` through its chunk files, handing the output
// to `sink` as it comes. Returns "" when the entry is exactly one complete
// zlib stream of its recorded size, else what is wrong with it. It stops once
// the entry inflates past its size: a damaged stream may go on for long.
std::string inflateEntry(const PayloadReader& payload, const Escort::CatalogEntry& entry,
                         const StreamInflater::Sink& sink);

}  // namespace PayloadTool
