#include "picture_scale.h"

#include <gtest/gtest.h>

namespace {

// The welcome picture's drawings, as the art script makes them.
const std::vector<PictureSize> kDrawn = {{250, 125}, {313, 156}, {375, 188}, {500, 250}};

TEST(PictureScale, SizeAtDpiRoundsHalvesUpAsMulDiv) {
  EXPECT_EQ(sizeAtDpi({250, 125}, 96, 96), (PictureSize{250, 125}));
  EXPECT_EQ(sizeAtDpi({250, 125}, 120, 120), (PictureSize{313, 156}));  // 312.5, 156.25
  EXPECT_EQ(sizeAtDpi({88, 34}, 120, 120), (PictureSize{110, 43}));     // 110, 42.5
  EXPECT_EQ(sizeAtDpi({250, 125}, 144, 96), (PictureSize{375, 125}));   // each axis its own DPI
}

TEST(PictureScale, ShowsTheSmallestDrawingThatCoversTheWantedSize) {
  const struct {
    PictureSize wanted;
    size_t drawing;
  } cases[] = {
      {{250, 125}, 0}, {{313, 156}, 1}, {{375, 188}, 2}, {{500, 250}, 3},  // Windows' steps: exactly
      {{251, 125}, 1}, {{250, 126}, 1},                                   // one pixel more across or down
      {{438, 219}, 3}, {{200, 100}, 0},                                   // between the steps, below the first
      {{625, 313}, 3},                                                    // above the last: the largest
  };
  for (const auto& c : cases) {
    EXPECT_EQ(drawingToShow(c.wanted, kDrawn), c.drawing) << c.wanted.width << " x " << c.wanted.height;
  }
}

TEST(PictureScale, TakesTheDrawingsInAnyOrderAndPassesOverMissingOnes) {
  const std::vector<PictureSize> shuffled = {{500, 250}, {0, 0}, {250, 125}, {375, 188}};
  EXPECT_EQ(drawingToShow({300, 150}, shuffled), 3u);
  EXPECT_EQ(drawingToShow({600, 300}, shuffled), 0u);
  EXPECT_EQ(drawingToShow({100, 50}, shuffled), 2u);
}

}  // namespace
