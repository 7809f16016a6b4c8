#include "temporary_file_sweep.h"

#include <windows.h>

#include "durable_changes.h"
#include "temporary_file_name.h"

namespace Escort {

void deleteTemporaryFiles(const std::string& directory) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + '\\' + kTemporaryFilePrefix + "*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isTemporaryFileName(found.cFileName))
      durable::deleteFile(directory + '\\' + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace Escort
