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
  // The nearest whole percentage, a true half rounding up, in integers: exact
  // for any count, and no floating-point formatting in the program.
  const uint64_t percent = (produced * 200 + totalBytes) / (uint64_t{totalBytes} * 2);
  display.percentText = intToString(static_cast<int>(percent)) + "%";
  return display;
}
