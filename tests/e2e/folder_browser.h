#pragma once
// The shell's folder browser, open in the setup program, driven from outside:
// its tree view holds its items in the program's memory, so their texts are
// read through a buffer placed there.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// The browser's caption.
const char kFolderBrowserCaption[] = "Browse for Folder";

class FolderBrowser {
 public:
  // `browser` is the browser's dialog, `process` the program that shows it.
  FolderBrowser(HWND browser, HANDLE process);
  ~FolderBrowser();
  FolderBrowser(const FolderBrowser&) = delete;
  FolderBrowser& operator=(const FolderBrowser&) = delete;

  // Walks down from the root (the desktop), expanding each item on the way:
  // at each level the first child whose text contains the next step. Selects
  // the last one, as a click would. False when a step is not found.
  bool select(const std::vector<std::string>& steps);
  // The texts of the children of the item reached by `steps`, for messages.
  std::vector<std::string> children(const std::vector<std::string>& steps);

 private:
  HTREEITEM find(const std::vector<std::string>& steps);
  std::string itemText(HTREEITEM item);
  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam);

  HWND tree;
  HANDLE process;
  void* remote;  // a TVITEMA and its text buffer, in the program's memory
};
