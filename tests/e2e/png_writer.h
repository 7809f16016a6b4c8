#pragma once
// PNG files of 24-bit pictures: enough for screenshots, with zlib doing the
// compression.
#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // rows top to bottom, three bytes (red, green, blue) per pixel
};

bool writePng(const std::string& path, const RgbImage& image);
