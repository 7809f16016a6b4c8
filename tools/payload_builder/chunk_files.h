#pragma once
#include <cstdint>
#include <istream>
#include <string>

namespace PayloadTool {

// Cuts the next `streamBytes` bytes of `stream` into chunk files of
// `chunkSize` bytes (the last one shorter) named chunk00001.bin, ... in
// `directory`. False when reading or writing fails.
bool writeChunkFiles(std::istream& stream, uint64_t streamBytes, uint32_t chunkSize,
                     const std::string& directory);

}  // namespace PayloadTool
