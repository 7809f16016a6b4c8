#include "progress_display.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace {

struct ProgressCase {
  const char* what;
  uint32_t written, total;
  int bar;
  const char* percent;
};

std::ostream& operator<<(std::ostream& out, const ProgressCase& c) {
  return out << c.what << ": " << c.written << " of " << c.total;
}

class ProgressDisplayFor : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressDisplayFor, ShowsBarAndWholePercentage) {
  const ProgressCase& c = GetParam();
  const ProgressDisplay display = progressDisplayFor(c.written, c.total);
  EXPECT_EQ(display.barPosition, c.bar);
  EXPECT_EQ(display.percentText, c.percent);
}

const ProgressCase kCases[] = {
    {"nothing yet", 0, 100, 0, "0%"},
    {"half", 50, 100, 500, "50%"},
    {"bar truncates, label rounds down", 1, 3, 333, "33%"},
    {"bar truncates, label rounds up", 2, 3, 666, "67%"},
    {"a tenth that binary cannot hold", 7, 10, 700, "70%"},
    {"a half rounds away from zero", 1, 8, 125, "13%"},
    {"just below a half", 994, 1000, 994, "99%"},
    {"nearest whole number reaches 100 early", 995, 1000, 995, "100%"},
    {"complete", 100, 100, 1000, "100%"},
    {"a step short of complete", 4294967, 4294968, 999, "100%"},
    {"nothing to install", 0, 0, 1000, "100%"},
    {"2 GiB done of 4 GiB", 0x80000000u, 0xFFFFFFFFu, 500, "50%"},
    {"3 GiB done of 4 GiB", 0xC0000000u, 0xFFFFFFFFu, 750, "75%"},
    {"4 GiB complete", 0xFFFFFFFFu, 0xFFFFFFFFu, 1000, "100%"},
    {"one byte of 4 GiB", 1, 0xFFFFFFFFu, 0, "0%"},
    {"more than the total", 120, 100, 1000, "100%"},
};
INSTANTIATE_TEST_SUITE_P(Cases, ProgressDisplayFor, ::testing::ValuesIn(kCases));

// Every update of a run, byte by byte: the bar never goes back and the label
// is always a whole number.
TEST(ProgressDisplayRun, BarNeverGoesBackAndLabelStaysWhole) {
  const uint32_t total = 12345;
  int lastBar = 0;
  for (uint32_t done = 0; done <= total; ++done) {
    const ProgressDisplay display = progressDisplayFor(done, total);
    ASSERT_GE(display.barPosition, lastBar) << done;
    ASSERT_EQ(display.percentText.find('.'), std::string::npos) << done;
    ASSERT_EQ(display.percentText.back(), '%') << done;
    lastBar = display.barPosition;
  }
  EXPECT_EQ(lastBar, kProgressBarSteps);
}

}  // namespace
