#pragma once
// Which drawing of a picture suits the display's scale: no Windows headers, so
// the host tests build it too.
#include <cstddef>
#include <vector>

struct PictureSize {
  int width;
  int height;
};

inline bool operator==(PictureSize a, PictureSize b) { return a.width == b.width && a.height == b.height; }

// The size that a picture of `at96` pixels at 96 DPI has at `dpiX` by `dpiY`:
// scaled as Windows scales everything else, halves rounded up as MulDiv does.
PictureSize sizeAtDpi(PictureSize at96, int dpiX, int dpiY);

// Of the sizes a picture is drawn at (any order), the index of the one to show
// at `wanted`: the smallest that covers it both across and down, so that it
// never has to be enlarged; where none does, the largest. `drawn` is not empty.
size_t drawingToShow(PictureSize wanted, const std::vector<PictureSize>& drawn);
