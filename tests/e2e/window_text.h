#pragma once
// Reading windows of another process (or of this one).
#include <windows.h>

#include <string>

// The text through WM_GETTEXT, which the system carries across processes; an
// edit control keeps its text where GetWindowTextA of another process cannot
// see it. A program that does not answer within a second gives "".
std::string windowText(HWND window);
std::string windowClass(HWND window);

// What `message` (one without pointers, such as BM_GETCHECK or PBM_GETPOS)
// returns from a window of another process; 0 when it does not answer within 5 s.
DWORD_PTR windowAnswer(HWND window, UINT message);

// The text on one line, for reports written as lines of tab-separated fields:
// backslash escapes for backslashes, tabs and line breaks; and back again.
std::string escapedLine(const std::string& text);
std::string unescapedLine(const std::string& text);
