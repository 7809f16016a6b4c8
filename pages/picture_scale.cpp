#include "picture_scale.h"

namespace {

int scaled(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

long long area(PictureSize size) { return static_cast<long long>(size.width) * size.height; }

bool covers(PictureSize drawing, PictureSize wanted) {
  return drawing.width >= wanted.width && drawing.height >= wanted.height;
}

}  // namespace

PictureSize sizeAtDpi(PictureSize at96, int dpiX, int dpiY) {
  return {scaled(at96.width, dpiX), scaled(at96.height, dpiY)};
}

size_t drawingToShow(PictureSize wanted, const std::vector<PictureSize>& drawn) {
  size_t best = 0;
  for (size_t i = 1; i < drawn.size(); ++i) {
    const bool bestCovers = covers(drawn[best], wanted);
    const bool candidateCovers = covers(drawn[i], wanted);
    if (candidateCovers != bestCovers) {
      if (candidateCovers) best = i;
    } else if (candidateCovers ? area(drawn[i]) < area(drawn[best]) : area(drawn[i]) > area(drawn[best])) {
      best = i;
    }
  }
  return best;
}
