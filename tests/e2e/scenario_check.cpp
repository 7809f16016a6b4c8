#include "scenario_check.h"

#include <algorithm>

namespace {

// A text as C would write it, so that line breaks and their kind show.
std::string quoted(const std::string& text) {
  std::string result = "\"";
  for (char c : text) {
    if (c == '\r') result += "\\r";
    else if (c == '\n') result += "\\n";
    else if (c == '"') result += "\\\"";
    else result += c;
  }
  return result + "\"";
}

// A message's whole text is shown; longer texts around their first difference only.
std::string excerpt(const std::string& text, size_t at) {
  if (text.size() <= 600) return quoted(text);
  const size_t from = at > 40 ? at - 40 : 0;
  std::string shown = quoted(text.substr(from, 80));
  if (from > 0) shown = "..." + shown;
  if (from + 80 < text.size()) shown += "...";
  return shown;
}

}  // namespace

void check(bool condition, const std::string& what) {
  if (!condition) throw ScenarioFailure("not so: " + what);
}

void checkEqual(const std::string& actual, const std::string& expected, const std::string& what) {
  if (actual == expected) return;
  const size_t at = static_cast<size_t>(
      std::mismatch(actual.begin(), actual.begin() + std::min(actual.size(), expected.size()), expected.begin())
          .first -
      actual.begin());
  throw ScenarioFailure(what + ": " + std::to_string(actual.size()) + " characters instead of " +
                        std::to_string(expected.size()) + ", first difference at " + std::to_string(at) +
                        "\n  actual:   " + excerpt(actual, at) + "\n  expected: " + excerpt(expected, at));
}

void checkEqual(long long actual, long long expected, const std::string& what) {
  if (actual != expected) {
    throw ScenarioFailure(what + ": " + std::to_string(actual) + " instead of " + std::to_string(expected));
  }
}

std::string listed(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n  " + line;
  return text.empty() ? " nothing" : text;
}

void checkEqual(bool actual, bool expected, const std::string& what) {
  if (actual != expected) {
    throw ScenarioFailure(what + ": " + (actual ? "true" : "false") + " instead of " + (expected ? "true" : "false"));
  }
}
