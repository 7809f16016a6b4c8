#pragma once
#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "payload_files.h"
#include "payload_writer.h"

// Bytes that deflate cannot shrink, the same for the same seed.
inline std::string randomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// Every file directly in `directory`, by name, with its content.
inline std::map<std::string, std::string> directoryContents(const std::string& directory) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    PayloadTool::readFileBytes(entry.path().string(), contents[entry.path().filename().string()]);
  return contents;
}

// A layout entry holding `content` as one level-9 stream, placed by default.
inline PayloadTool::PayloadLayoutEntry layoutEntry(const std::string& path,
                                                   const std::string& content) {
  PayloadTool::PayloadLayoutEntry entry;
  entry.path = path;
  entry.stream = PayloadTool::compressStream(content);
  entry.uncompressedSize = static_cast<uint32_t>(content.size());
  return entry;
}
