#pragma once
#include <ostream>

#include "payload_reader.h"

namespace PayloadTool {

// Prints the catalog header, every record in catalog order (duplicates
// included, with a note on which one lookups find) and the summary line.
void printListing(const PayloadReader& payload, std::ostream& out);

// The summary line of what the installer would see in `payload`.
std::string payloadSummaryLine(const PayloadReader& payload);

}  // namespace PayloadTool
