#include "file_tree.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "scenario.h"

namespace {

std::string lowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void collect(const std::string& root, const std::string& relative, bool withDirectories,
             std::vector<std::string>& found) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((root + relative + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (withDirectories) found.push_back(relative + name + "\\");
      collect(root, relative + name + "\\", withDirectories, found);
    } else {
      found.push_back(relative + name);
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

std::string withBackslash(std::string directory) {
  if (!directory.empty() && directory.back() != '\\') directory += '\\';
  return directory;
}

}  // namespace

std::vector<std::string> filesBelow(const std::string& directory) {
  std::vector<std::string> files;
  collect(withBackslash(directory), "", false, files);
  std::sort(files.begin(), files.end(),
            [](const std::string& a, const std::string& b) { return lowerCase(a) < lowerCase(b); });
  return files;
}

unsigned long long bytesBelow(const std::string& directory) {
  unsigned long long total = 0;
  for (const std::string& file : filesBelow(directory))
    total += requiredFileBytes(withBackslash(directory) + file).size();
  return total;
}

std::vector<std::string> entriesBelow(const std::string& directory) {
  std::vector<std::string> entries;
  collect(withBackslash(directory), "", true, entries);
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::optional<unsigned long long> fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::string> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string requiredFileBytes(const std::string& path) {
  const std::optional<std::string> bytes = fileBytes(path);
  check(bytes.has_value(), "the file " + path + " can be read");
  return *bytes;
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  check(out.good(), "the file " + path + " is written");
}

bool isDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool pathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

HeldOpen::HeldOpen(const std::string& path)
    : file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
  check(file != INVALID_HANDLE_VALUE, path + " is held open");
}

HeldOpen::~HeldOpen() { CloseHandle(file); }
