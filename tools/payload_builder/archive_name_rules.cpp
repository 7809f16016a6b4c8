#include "archive_name_rules.h"

#include <cstdio>

#include "archive_path.h"
#include "windows_file_name.h"

namespace PayloadTool {
namespace {

bool isControlByte(char c) { return static_cast<unsigned char>(c) < 0x20; }

}  // namespace

std::string componentProblem(const std::string& name) {
  if (name.find('\0') != std::string::npos) return "name holds a NUL byte";
  if (name.find('\\') != std::string::npos) return "name holds '\\', the archive separator";
  if (name.find('/') != std::string::npos) return "name holds '/', which lookups read as '\\'";
  for (char c : name) {
    // The setup program writes names through Windows' ANSI functions, which
    // read the same byte as another character, or as half of one, under each
    // code page (0xE9 is é in 1252, half a character in 932).
    if (static_cast<unsigned char>(c) >= 0x80)
      return "name holds a character beyond ASCII, which would name another file under each Windows code page";
  }
  return windowsNameProblem(name);
}

std::string archivePathFor(const std::vector<std::string>& components) {
  std::string path;
  for (const std::string& component : components) path += "\\" + component;
  return Escort::normalizeArchivePath(path);
}

std::string storedPathProblem(const std::string& path) {
  if (path.empty()) return "path is empty";
  if (path.find('\0') != std::string::npos) return "path holds a NUL byte";
  if (path.front() != '\\') return "path does not begin with '\\'";
  if (Escort::normalizeArchivePath(path) != path)
    return "path holds upper case, '/' or a trailing '\\', so no lookup can find it";
  if (path.find("\\\\") != std::string::npos) return "path holds an empty component";
  return "";
}

std::string unsafePathProblem(const std::string& path) {
  // A stored path begins with '\'; what precedes it is no component.
  size_t begin = path.empty() || path.front() != '\\' ? 0 : 1;
  for (;;) {
    const size_t end = path.find('\\', begin);
    const std::string component = path.substr(begin, end == std::string::npos ? end : end - begin);
    const std::string problem = componentProblem(component);
    if (!problem.empty()) return "component \"" + shownName(component) + "\": " + problem;
    if (end == std::string::npos) return "";
    begin = end + 1;
  }
}

std::string shownName(const std::string& name) {
  std::string shown;
  for (char c : name) {
    if (isControlByte(c)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(c));
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace PayloadTool
