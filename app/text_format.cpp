#include "text_format.h"

void ensureTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
}

bool isNetworkPath(const std::string& path) { return path.compare(0, 2, "\\\\") == 0; }

std::string parentDirectory(const std::string& path) {
  const size_t last = path.rfind('\\');
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

std::vector<std::string> pathLevels(const std::string& path) {
  std::vector<std::string> levels;
  size_t start = 0;
  for (size_t end; (end = path.find('\\', start)) != std::string::npos; start = end + 1)
    levels.push_back(path.substr(start, end - start));
  levels.push_back(path.substr(start));
  return levels;
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
