#include "host_command.h"

#include <windows.h>

#include "text_conversion.h"

namespace {

using UnixFileName = char*(CDECL*)(LPCWSTR);

std::string unixPathOfExisting(const std::string& windowsPath) {
  // Wine's own export, looked up since only Wine has it.
  const auto convert = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (convert == nullptr) return std::string();
  char* converted = convert(wideText(windowsPath).c_str());
  if (converted == nullptr) return std::string();
  std::string path(converted);
  HeapFree(GetProcessHeap(), 0, converted);
  return path;
}

// The program's Windows path: Wine reaches the Unix root through drive Z:.
std::string windowsPathOfUnixProgram(std::string program) {
  for (char& c : program) {
    if (c == '/') c = '\\';
  }
  return "Z:" + program;
}

}  // namespace

std::string unixPath(const std::string& windowsPath) {
  std::string path = unixPathOfExisting(windowsPath);
  if (!path.empty()) return path;
  const size_t last = windowsPath.find_last_of('\\');
  if (last == std::string::npos) return std::string();
  const std::string folder = unixPathOfExisting(windowsPath.substr(0, last));
  return folder.empty() ? std::string() : folder + "/" + windowsPath.substr(last + 1);
}

bool startHostCommand(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  std::string commandLine;
  for (const std::string& argument : arguments) {
    if (argument.find('"') != std::string::npos) return false;  // no way to pass it whole
    commandLine += (commandLine.empty() ? "\"" : " \"") + argument + "\"";
  }
  const std::string program = windowsPathOfUnixProgram(arguments.front());
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool waitForEffect(const std::function<bool()>& effect, unsigned long milliseconds) {
  for (const DWORD start = GetTickCount(); !effect(); Sleep(10)) {
    if (GetTickCount() - start > milliseconds) return effect();
  }
  return true;
}

bool makeLink(const std::string& link, const std::string& target) {
  const std::string from = unixPath(link);
  const std::string to = unixPath(target);
  if (from.empty() || to.empty() || !startHostCommand({"/bin/ln", "-s", to, from})) return false;
  return waitForEffect([&] { return GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES; });
}
