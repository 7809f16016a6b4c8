#include "text_conversion.h"

#include <windows.h>

std::wstring wideText(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring converted(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &converted[0], length);
  return converted;
}

std::string ansiText(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int length =
      WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string converted(length, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &converted[0], length, nullptr, nullptr);
  return converted;
}
