#include "text_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

// Every finite double has a terminating decimal expansion; the smallest
// subnormal, 2^-1074, needs the most fractional digits.
constexpr int kExactFractionDigits = 1074;

// The value's decimal expansion in fixed notation with `fractionDigits` digits
// after the point, exact whenever fractionDigits >= kExactFractionDigits.
std::string fixedText(double value, int fractionDigits) {
  std::string text(std::numeric_limits<double>::max_exponent10 + 3 + fractionDigits, '\0');
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value,
                                 std::chars_format::fixed, fractionDigits).ptr;
  text.resize(end - text.data());
  return text;
}

// Adds one to a string of decimal digits; "99" becomes "100".
void incrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

void ensureTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
}

bool isNetworkPath(const std::string& path) { return path.compare(0, 2, "\\\\") == 0; }

std::string parentDirectory(const std::string& path) {
  const size_t last = path.rfind('\\');
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

std::string asciiLowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  return asciiLowerCase(a) == asciiLowerCase(b);
}

std::string fillIn(const std::string& pattern, const std::vector<std::string>& inserts) {
  std::string text;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t number = i + 1 < pattern.size() ? static_cast<size_t>(pattern[i + 1] - '0') : 0;
    if (pattern[i] == '%' && number >= 1 && number <= 9 && number <= inserts.size()) {
      text += inserts[number - 1];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::string intToString(int value) { return std::to_string(value); }

std::string formatDecimal(double value, int places, bool dropTrailingZeros) {
  if (!std::isfinite(value)) return fixedText(value, 0);  // "inf", "-inf", "nan"
  places = std::max(places, 0);

  // Rounding is decided on the exact expansion, so that a binary value just
  // below a half (1.005 is really 1.00499...) is not pushed up by an earlier
  // rounding step, while a true half always goes away from zero.
  const std::string exact = fixedText(std::fabs(value), std::max(places, kExactFractionDigits));
  const std::size_t point = exact.find('.');
  std::string digits = exact.substr(0, point) + exact.substr(point + 1, places);
  if (point + 1 + places < exact.size() && exact[point + 1 + places] >= '5') incrementDigits(digits);

  // Digits without leading zeros and the position of the decimal point within
  // them; a value that rounds to zero keeps no digits at all.
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  const auto digitCount = [&digits] { return static_cast<std::ptrdiff_t>(digits.size()); };
  std::ptrdiff_t pointPosition = digitCount() - places;

  // The digit right after the point always stays: 12 with two places reads 12.0.
  if (dropTrailingZeros) {
    while (digitCount() > std::max<std::ptrdiff_t>(pointPosition + 1, 0) && digits.back() == '0')
      digits.pop_back();
  }
  if (pointPosition <= 0) {
    digits.insert(0, 1 - pointPosition, '0');
    pointPosition = 1;
  }
  if (pointPosition < digitCount()) digits.insert(pointPosition, 1, '.');
  if (value < 0) digits.insert(0, 1, '-');
  return digits;
}
