#pragma once
// What the progress page shows for a given count of bytes: the bar position
// and the percentage label. No Windows headers, so the host tests build it.
#include <cstdint>
#include <string>

// The bar runs from 0 to this many steps.
inline constexpr int kProgressBarSteps = 1000;

struct ProgressDisplay {
  int barPosition = 0;      // 0 .. kProgressBarSteps
  std::string percentText;  // "0%" .. "100%", a whole number
};

// `writtenBytes` of `totalBytes`, both as the worker counts them: unsigned
// 32-bit, so a payload of 2 GiB or more never reads as negative. Nothing to
// install (total 0) counts as complete, and a count past the total shows the
// total.
ProgressDisplay progressDisplayFor(uint32_t writtenBytes, uint32_t totalBytes);
