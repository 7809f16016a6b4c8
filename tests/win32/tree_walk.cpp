#include "tree_walk.h"

#include <algorithm>

namespace {

std::string lowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void walkBelow(const std::string& root, const std::string& relative, const TreeVisit& visit) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((root + relative + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      visit(relative + name, found);
      continue;
    }
    const std::string folder = relative + name + "\\";
    visit(folder, found);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) walkBelow(root, folder, visit);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

std::string withBackslash(std::string folder) {
  // Its last character as Windows reads it in the ANSI code page: where that
  // has two-byte characters, a last byte '\' may be the second half of one.
  const char* end = folder.c_str() + folder.size();
  const char* last = CharPrevA(folder.c_str(), end);
  if (!folder.empty() && !(last + 1 == end && *last == '\\')) folder += '\\';
  return folder;
}

void walkTree(const std::string& folder, const TreeVisit& visit) { walkBelow(withBackslash(folder), "", visit); }

std::vector<std::string> filesBelow(const std::string& folder) {
  std::vector<std::string> files;
  walkTree(folder, [&](const std::string& relative, const WIN32_FIND_DATAA&) {
    if (relative.back() != '\\') files.push_back(relative);
  });
  std::sort(files.begin(), files.end(),
            [](const std::string& a, const std::string& b) { return lowerCase(a) < lowerCase(b); });
  return files;
}

std::vector<std::string> entriesBelow(const std::string& folder) {
  std::vector<std::string> entries;
  walkTree(folder, [&](const std::string& relative, const WIN32_FIND_DATAA&) { entries.push_back(relative); });
  std::sort(entries.begin(), entries.end());
  return entries;
}
