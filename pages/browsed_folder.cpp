#include "browsed_folder.h"

#include "text_format.h"

std::string takeBrowsedFolder(LPITEMIDLIST item) {
  if (item == nullptr) return std::string();
  char path[MAX_PATH] = "";
  const bool named = SHGetPathFromIDListA(item, path) != FALSE;
  // The browser allocates the list with the COM task allocator; it is ours.
  CoTaskMemFree(item);
  std::string folder = named ? path : "";
  ensureTrailingBackslash(folder);
  return folder;
}
