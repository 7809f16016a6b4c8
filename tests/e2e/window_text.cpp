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

DWORD_PTR windowAnswer(HWND window, UINT message) {
  DWORD_PTR answer = 0;
  // Longer than for a text: a wrong state would fail a check, a missing text only shows.
  SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, 5 * kAnswerWithin, &answer);
  return answer;
}

std::string escapedLine(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c == '\\') result += "\\\\";
    else if (c == '\t') result += "\\t";
    else if (c == '\r') result += "\\r";
    else if (c == '\n') result += "\\n";
    else result += c;
  }
  return result;
}

std::string unescapedLine(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    const char code = text[++i];
    result += code == 't' ? '\t' : code == 'r' ? '\r' : code == 'n' ? '\n' : code;
  }
  return result;
}
