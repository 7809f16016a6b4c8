#include "window_text.h"

#include <vector>

namespace {
const UINT kAnswerWithin = 1000;  // milliseconds
}

std::string windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerWithin, &length)) return "";
  std::vector<char> buffer(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, kAnswerWithin, &copied)) {
    return "";
  }
  return std::string(buffer.data(), copied);
}

std::string windowClass(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}
