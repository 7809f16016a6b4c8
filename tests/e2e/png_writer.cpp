#include "png_writer.h"

#include <zlib.h>

#include <cstdio>

namespace {

void appendBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// Length, type, data, and the CRC of type and data.
void appendChunk(std::string& out, const char* type, const std::string& data) {
  appendBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  appendBigEndian(out, static_cast<uint32_t>(
                           crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

}  // namespace

bool writePng(const std::string& path, const RgbImage& image) {
  // Every row starts with its filter type, 0: the bytes as they are.
  const size_t rowBytes = static_cast<size_t>(image.width) * 3;
  std::string raw;
  raw.reserve((rowBytes + 1) * image.height);
  for (int row = 0; row < image.height; ++row) {
    raw += '\0';
    raw.append(reinterpret_cast<const char*>(image.pixels.data()) + row * rowBytes, rowBytes);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK) {
    return false;
  }
  packed.resize(packedSize);

  std::string header;
  appendBigEndian(header, static_cast<uint32_t>(image.width));
  appendBigEndian(header, static_cast<uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits per sample, RGB, deflate, no filter set, no interlace

  std::string file = "\x89PNG\r\n\x1a\n";
  appendChunk(file, "IHDR", header);
  appendChunk(file, "IDAT", packed);
  appendChunk(file, "IEND", "");

  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}
