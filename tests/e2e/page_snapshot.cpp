#include "page_snapshot.h"

#include <sstream>

#include "setup_windows.h"
#include "window_text.h"

PageSnapshot snapshotPages(HWND frame) {
  PageSnapshot snapshot;
  int page = 0;
  for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (windowClass(child) != kDialogClass) continue;
    for (HWND control = GetWindow(child, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
      const std::string className = windowClass(control);
      const DWORD_PTR checked = lstrcmpiA(className.c_str(), "Button") == 0 ? windowAnswer(control, BM_GETCHECK) : 0;
      snapshot.push_back({page, GetDlgCtrlID(control), className, static_cast<int>(checked), windowText(control)});
    }
    ++page;
  }
  return snapshot;
}

int pageCount(const PageSnapshot& snapshot) { return snapshot.empty() ? 0 : snapshot.back().page + 1; }

const ControlState* findControl(const PageSnapshot& snapshot, int page, int id) {
  for (const ControlState& control : snapshot) {
    if (control.page == page && control.id == id) return &control;
  }
  return nullptr;
}

std::string formatSnapshot(const PageSnapshot& snapshot) {
  std::string text;
  for (const ControlState& control : snapshot) {
    text += std::to_string(control.page) + "\t" + std::to_string(control.id) + "\t" + control.className + "\t" +
            std::to_string(control.checked) + "\t" + escapedLine(control.text) + "\n";
  }
  return text;
}

PageSnapshot parseSnapshot(const std::string& text) {
  PageSnapshot snapshot;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string page, id, className, checked, controlText;
    std::getline(fields, page, '\t');
    std::getline(fields, id, '\t');
    std::getline(fields, className, '\t');
    std::getline(fields, checked, '\t');
    std::getline(fields, controlText);
    snapshot.push_back({std::stoi(page), std::stoi(id), className, std::stoi(checked), unescapedLine(controlText)});
  }
  return snapshot;
}

std::string describe(const ControlState& control) {
  std::string text = control.text.substr(0, 60);
  if (control.text.size() > 60) text += "... (" + std::to_string(control.text.size()) + " characters)";
  return "page " + std::to_string(control.page) + " control " + std::to_string(control.id) + " " +
         control.className + " checked " + std::to_string(control.checked) + " \"" + escapedLine(text) + "\"";
}
