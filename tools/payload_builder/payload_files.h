#pragma once
#include <cstdint>
#include <string>

namespace PayloadTool {

// The files of a payload directory: the catalog (resource 0), the chunks
// (resources 1..N) and the resource script that embeds them.
constexpr const char* kCatalogFileName = "catalog.bin";
constexpr const char* kResourceScriptFileName = "payload.rc";

// "chunk00001.bin" for chunk 1: five digits hold every 16-bit chunk id.
std::string chunkFileName(uint32_t chunkId);

// The chunk id named by `fileName`, or 0 when it is not a chunk file name.
uint32_t chunkIdOfFileName(const std::string& fileName);

// Whether a payload build may replace a file of this name in its output directory.
bool isPayloadFileName(const std::string& fileName);

bool readFileBytes(const std::string& path, std::string& bytes);
bool writeFileBytes(const std::string& path, const std::string& bytes);

}  // namespace PayloadTool
