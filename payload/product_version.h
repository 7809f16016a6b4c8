#pragma once
#include <cstdint>
#include <string>

namespace Escort {

// The product version (not the file version) of `file` as one comparable
// number: major, minor, build, revision from the most to the least significant
// 16 bits. False when the file has no version resource.
bool readProductVersion(const std::string& file, uint64_t& version);

}  // namespace Escort
