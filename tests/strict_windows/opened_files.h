#pragma once
// What the layer knows of the handles that the program opened through it:
// the file's path, whether it goes once the handle closes, and whether the
// handle is a link's own (opened with FILE_FLAG_OPEN_REPARSE_POINT); and of
// its directory searches, the folder searched.
#include <windows.h>

#include <string>

#include "reparse_points.h"

struct OpenedFile {
  std::string path;
  bool deletedOnClose = false;
  Link link;  // kind None: the handle is the file's, not a link's
};

void rememberFile(HANDLE handle, const OpenedFile& file);
// False when the layer did not open it.
bool openedFile(HANDLE handle, OpenedFile& file);
void updateFile(HANDLE handle, const OpenedFile& file);
// Takes it out of the table; false when it was not there.
bool forgetFile(HANDLE handle, OpenedFile& file);

void rememberSearch(HANDLE search, const std::string& folder);
std::string searchedFolder(HANDLE search);
void forgetSearch(HANDLE search);
