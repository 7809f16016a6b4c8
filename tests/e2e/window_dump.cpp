#include "window_dump.h"

#include <windows.h>

#include <string>

#include "window_text.h"

namespace {

std::string shown(const std::string& text) {
  std::string result;
  for (char c : text.substr(0, 100)) {
    if (c == '\r') result += "\\r";
    else if (c == '\n') result += "\\n";
    else result += c;
  }
  if (text.size() > 100) result += "... (" + std::to_string(text.size()) + " characters)";
  return "\"" + result + "\"";
}

void dumpWindow(HWND window, int depth, std::ostream& out) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  out << std::string(2 * depth + 2, ' ') << "id " << GetDlgCtrlID(window) << " " << windowClass(window) << " "
      << shown(windowText(window)) << (IsWindowEnabled(window) ? " enabled" : " disabled")
      << (IsWindowVisible(window) ? " visible" : " hidden") << " at " << rect.left << "," << rect.top << " "
      << rect.right - rect.left << "x" << rect.bottom - rect.top << "\n";
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    dumpWindow(child, depth + 1, out);
  }
}

}  // namespace

void dumpWindows(const SetupProcess& process, std::ostream& out) {
  const auto windows = process.topLevelWindows(true);
  out << "Visible windows of the setup program: " << windows.size()
      << (process.running() ? "" : " (it has ended, exit code " + std::to_string(process.exitCode()) + ")") << "\n";
  for (HWND window : windows) dumpWindow(window, 0, out);
}
