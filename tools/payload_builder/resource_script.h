#pragma once
#include <cstdint>
#include <string>

namespace PayloadTool {

// The payload.rc fragment that embeds catalog.bin as RCDATA 0 and chunk k as
// RCDATA k, all language neutral. File names are bare: windres looks them up
// in the current directory and then its include directories, not beside the
// including script, so the payload directory must be on its include path.
std::string resourceScriptFor(uint32_t chunkCount);

}  // namespace PayloadTool
