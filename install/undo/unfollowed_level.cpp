#include "unfollowed_level.h"

HANDLE holdUnfollowed(const std::string& level) {
  return CreateFileA(level.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool isLink(HANDLE level) {
  BY_HANDLE_FILE_INFORMATION information;
  return GetFileInformationByHandle(level, &information) &&
         (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
