#include "system_message.h"

#include <windows.h>

std::string systemMessage(unsigned long error) {
  char* text = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length ? std::string(text, length) : std::string();
  LocalFree(text);
  // The system's texts end with a line break, some hold one inside.
  for (char& c : message) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  while (!message.empty() && message.back() == ' ') message.pop_back();
  return message.empty() ? "Windows error " + std::to_string(error) : message;
}
