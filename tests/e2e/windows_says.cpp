#include "windows_says.h"

#include <windows.h>

std::string windowsSays(unsigned long error) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                 nullptr);
  std::string reason = text;
  for (char& c : reason) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  while (!reason.empty() && reason.back() == ' ') reason.pop_back();
  return reason;
}
