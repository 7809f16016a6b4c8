#pragma once
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

namespace PayloadTool {

struct DeflateCounts {
  uint64_t bytesIn = 0;
  uint64_t bytesOut = 0;
};

// Compresses everything `in` holds into one zlib stream at level 9 (the form
// the installer's payload has always had), appended to `out`, through fixed
// buffers so that a file of any size passes without being held in memory.
// False when either stream fails.
bool deflateStream(std::istream& in, std::ostream& out, DeflateCounts& counts);

// One zlib stream, level 9, holding `bytes`.
std::string compressStream(const std::string& bytes);

}  // namespace PayloadTool
