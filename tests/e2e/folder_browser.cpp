#include "folder_browser.h"

#include <commctrl.h>

#include "scenario.h"

namespace {
const DWORD kAnswerWithin = 5000;
const int kTextRoom = 260;
const int kTreeViewId = 14145;  // the tree view of the browser's dialog
}  // namespace

FolderBrowser::FolderBrowser(HWND browser, HANDLE program) : tree(nullptr), process(program), remote(nullptr) {
  for (HWND child = GetWindow(browser, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, WC_TREEVIEWA) == 0) tree = child;
  }
  (void)kTreeViewId;
  check(tree != nullptr, "the folder browser has a tree view");
  remote = VirtualAllocEx(process, nullptr, sizeof(TVITEMA) + kTextRoom, MEM_COMMIT, PAGE_READWRITE);
  check(remote != nullptr, "memory for the tree view's texts in the program");
}

FolderBrowser::~FolderBrowser() {
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
}

LRESULT FolderBrowser::send(UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(tree, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerWithin, &result);
  return static_cast<LRESULT>(result);
}

std::string FolderBrowser::itemText(HTREEITEM item) {
  char* remoteText = static_cast<char*>(remote) + sizeof(TVITEMA);
  TVITEMA request = {};
  request.mask = TVIF_TEXT | TVIF_HANDLE;
  request.hItem = item;
  request.pszText = remoteText;
  request.cchTextMax = kTextRoom;
  SIZE_T moved = 0;
  WriteProcessMemory(process, remote, &request, sizeof request, &moved);
  if (!send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote))) return std::string();
  char text[kTextRoom] = "";
  ReadProcessMemory(process, remoteText, text, sizeof text - 1, &moved);
  return text;
}

HTREEITEM FolderBrowser::find(const std::vector<std::string>& steps) {
  HTREEITEM item = reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (const std::string& step : steps) {
    if (item == nullptr) return nullptr;
    send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    HTREEITEM child = reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    while (child != nullptr && itemText(child).find(step) == std::string::npos)
      child = reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    item = child;
  }
  return item;
}

bool FolderBrowser::select(const std::vector<std::string>& steps) {
  HTREEITEM item = find(steps);
  if (item == nullptr) return false;
  return send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

std::vector<std::string> FolderBrowser::children(const std::vector<std::string>& steps) {
  std::vector<std::string> texts;
  HTREEITEM item = steps.empty() ? reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, TVGN_ROOT, 0)) : find(steps);
  if (item == nullptr) return texts;
  send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  for (HTREEITEM child = reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
       child != nullptr;
       child = reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
    texts.push_back(itemText(child));
  return texts;
}
