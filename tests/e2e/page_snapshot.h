#pragma once
// Every control of every page of the wizard frame, as text: what the show
// probe records inside the setup program and the driver compares.
#include <windows.h>

#include <string>
#include <vector>

struct ControlState {
  int page;  // the page dialog's place among the frame's page dialogs
  int id;
  std::string className;
  int checked;  // BM_GETCHECK for buttons, 0 for the rest
  std::string text;
};

using PageSnapshot = std::vector<ControlState>;

PageSnapshot snapshotPages(HWND frame);
int pageCount(const PageSnapshot& snapshot);
// The control `id` of page `page`, or nullptr.
const ControlState* findControl(const PageSnapshot& snapshot, int page, int id);
// One line per control; parseSnapshot reads it back.
std::string formatSnapshot(const PageSnapshot& snapshot);
PageSnapshot parseSnapshot(const std::string& text);
std::string describe(const ControlState& control);
