#include "file_paths.h"

#include <windows.h>

#include <vector>

std::string fullPath(const char* path) {
  if (path == nullptr || *path == '\0') return std::string();
  for (DWORD capacity = MAX_PATH;;) {
    std::vector<char> buffer(capacity);
    const DWORD length = GetFullPathNameA(path, capacity, buffer.data(), nullptr);
    if (length == 0) return path;
    if (length < capacity) return std::string(buffer.data(), length);
    capacity = length + 1;
  }
}

std::string withoutFinalBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}
