// Stands in for the browser and the text editor in a scenario's prefix: the
// scenario registers it as the program that opens web addresses and text
// files, so that what the setup program opens is recorded instead of shown,
// and nothing is left running.
//   open_recorder RECORD_FILE DOCUMENT
// Appends one line to RECORD_FILE: this process's creation time (16 hex
// digits, so that sorted lines give the order in which they were started), a
// tab, DOCUMENT as it was given, a tab, the working directory, a tab, the
// process id of the program that started it, a tab, and that program's file
// name (explorer.exe when the desktop's shell opened the document; the setup
// program when it did so itself, unless it has ended already).
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The id and file name of the program that started this one.
std::string parentProgram() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return "\t";
  PROCESSENTRY32 process = {};
  process.dwSize = sizeof process;
  DWORD parent = 0;
  std::string name;
  for (BOOL more = Process32First(snapshot, &process); more; more = Process32Next(snapshot, &process)) {
    if (process.th32ProcessID == GetCurrentProcessId()) parent = process.th32ParentProcessID;
  }
  for (BOOL more = Process32First(snapshot, &process); more && parent; more = Process32Next(snapshot, &process)) {
    if (process.th32ProcessID == parent) name = process.szExeFile;
  }
  CloseHandle(snapshot);
  return std::to_string(parent) + '\t' + name;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc != 3) return 2;
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  char directory[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof directory, directory);
  char stamp[17];
  std::snprintf(stamp, sizeof stamp, "%08lx%08lx", static_cast<unsigned long>(created.dwHighDateTime),
                static_cast<unsigned long>(created.dwLowDateTime));
  const std::string line =
      std::string(stamp) + '\t' + __argv[2] + '\t' + directory + '\t' + parentProgram() + "\r\n";

  // Appended in one write, so that two recorders started together do not mix their lines.
  HANDLE record = CreateFileA(__argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (record == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(record, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(record);
  return written == line.size() ? 0 : 1;
}
