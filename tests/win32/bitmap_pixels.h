#pragma once
// What a bitmap shows, comparable across bitmaps and processes.
#include <windows.h>

#include <cstdint>
#include <vector>

// The bitmap's pixels as 24-bit rows (bottom row first, each padded to four
// bytes), as the screen's device context converts them: equal for two bitmaps
// that show the same pixels, whatever their own format.
std::vector<uint8_t> pixelRows(HBITMAP bitmap);
