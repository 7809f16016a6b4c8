#include "programs_holding.h"

#include <windows.h>
#include <restartmanager.h>

#include "system_library.h"

namespace {

// The Restart Manager takes wide strings only: the one place besides the
// shortcut's file name where the program hands Windows one.
std::wstring wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring converted(length > 0 ? length : 1, L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &converted[0], length);
  converted.resize(converted.size() - 1);
  return converted;
}

std::string narrow(const WCHAR* text) {
  const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string converted(length > 0 ? length : 1, '\0');
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, text, -1, &converted[0], length, nullptr, nullptr);
  converted.resize(converted.size() - 1);
  return converted;
}

constexpr char kRestartManager[] = "rstrtmgr.dll";

using StartSession = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RegisterResources = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
using GetList = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, DWORD*);
using EndSession = DWORD(WINAPI*)(DWORD);

}  // namespace

std::vector<std::string> programsHolding(const std::string& path) {
  std::vector<std::string> programs;
  const auto start = systemFunction<StartSession>(kRestartManager, "RmStartSession");
  const auto add = systemFunction<RegisterResources>(kRestartManager, "RmRegisterResources");
  const auto list = systemFunction<GetList>(kRestartManager, "RmGetList");
  const auto end = systemFunction<EndSession>(kRestartManager, "RmEndSession");
  if (!start || !add || !list || !end) return programs;
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = L"";
  if (start(&session, 0, key) != ERROR_SUCCESS) return programs;
  const std::wstring file = wide(path);
  LPCWSTR files[] = {file.c_str()};
  std::vector<RM_PROCESS_INFO> holders(8);
  UINT needed = 0, count = static_cast<UINT>(holders.size());
  DWORD reasons = 0;
  if (add(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
      list(session, &needed, &count, holders.data(), &reasons) == ERROR_SUCCESS) {
    for (UINT i = 0; i < count; ++i) programs.push_back(narrow(holders[i].strAppName));
  }
  end(session);
  return programs;
}
