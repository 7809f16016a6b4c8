#include "text_format.h"

size_t nextCharacter(const std::string& text, size_t at) {
  return at + (isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1);
}

void ensureTrailingBackslash(std::string& path) {
  if (!path.empty() && !endsWithBackslash(path)) path += '\\';
}

bool endsWithBackslash(const std::string& path) {
  const size_t last = lastBackslash(path);
  return last != std::string::npos && last + 1 == path.size();
}

void removeTrailingBackslash(std::string& path) {
  if (endsWithBackslash(path)) path.pop_back();
}

std::string withoutTrailingBackslash(std::string path) {
  removeTrailingBackslash(path);
  return path;
}

size_t findBackslash(const std::string& text, size_t from) {
  for (size_t at = from; at < text.size(); at = nextCharacter(text, at)) {
    if (text[at] == '\\') return at;
  }
  return std::string::npos;
}

size_t lastBackslash(const std::string& text) {
  size_t last = std::string::npos;
  for (size_t at = findBackslash(text); at != std::string::npos; at = findBackslash(text, at + 1)) last = at;
  return last;
}

size_t backslashCount(const std::string& text) {
  size_t count = 0;
  for (size_t at = findBackslash(text); at != std::string::npos; at = findBackslash(text, at + 1)) ++count;
  return count;
}

bool isNetworkPath(const std::string& path) { return path.compare(0, 2, "\\\\") == 0; }

std::string parentDirectory(const std::string& path) {
  const size_t last = lastBackslash(path);
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

std::vector<std::string> pathLevels(const std::string& path) {
  std::vector<std::string> levels;
  size_t start = 0;
  for (size_t end; (end = findBackslash(path, start)) != std::string::npos; start = end + 1)
    levels.push_back(path.substr(start, end - start));
  levels.push_back(path.substr(start));
  return levels;
}

std::string asciiLowerCase(std::string text) {
  for (size_t at = 0; at < text.size(); at = nextCharacter(text, at)) {
    char& c = text[at];
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
