#include "unfollowed_level.h"

HANDLE holdUnfollowed(const std::string& level) {
  return CreateFileA(level.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool isLink(const std::string& level) {
  // GetFileAttributes does not follow the link it names (MSDN).
  const DWORD attributes = GetFileAttributesA(level.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
