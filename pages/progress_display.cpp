#include "progress_display.h"

#include <algorithm>

#include "text_format.h"

ProgressDisplay progressDisplayFor(uint32_t writtenBytes, uint32_t totalBytes) {
  if (totalBytes == 0) return {kProgressBarSteps, "100%"};
  // 64 bits, so the scaled count cannot wrap.
  const uint64_t produced = std::min(writtenBytes, totalBytes);
  ProgressDisplay display;
  // Whole steps reached, counted exactly: a rounded fraction could show a
  // step early or late (0.7 in binary lies just below it).
  display.barPosition = static_cast<int>(produced * kProgressBarSteps / totalBytes);
  // Both operands are exact in a double, so the quotient is the nearest one
  // to the true percentage, and a true half rounds up.
  display.percentText = formatDecimal(100.0 * produced / totalBytes, 0, true) + "%";
  return display;
}
