#include "archive_name_rules.h"

#include <cstdio>

#include "archive_path.h"

namespace PayloadTool {
namespace {

bool isControlByte(char c) { return static_cast<unsigned char>(c) < 0x20; }

}  // namespace

std::string componentProblem(const std::string& name) {
  if (name.empty()) return "empty name";
  if (name == "." || name == "..") return "the name \"" + name + "\" is not a file name";
  if (name.find('\0') != std::string::npos) return "name holds a NUL byte";
  if (name.find('\\') != std::string::npos) return "name holds '\\', the archive separator";
  if (name.find('/') != std::string::npos) return "name holds '/', which lookups read as '\\'";
  for (char c : name) {
    if (isControlByte(c) || std::string("<>:\"|?*").find(c) != std::string::npos)
      return "name holds a character Windows does not allow in file names";
  }
  return "";
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
