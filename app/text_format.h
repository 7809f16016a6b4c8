#pragma once
// Text helpers that need no Windows headers, so the host tests build them too.
#include <string>

// Appends one backslash unless the path already ends with one. An empty
// string names no folder and is left empty.
void ensureTrailingBackslash(std::string& path);

// Shortest decimal text of a signed 32-bit value: "0", "-17", "2147483647".
std::string intToString(int value);

// The value rounded to `places` decimal places, halves away from zero. With
// `dropTrailingZeros`, zeros after the first decimal are removed (12 -> "12.0").
// A negative `places` counts as 0.
std::string formatDecimal(double value, int places, bool dropTrailingZeros);
