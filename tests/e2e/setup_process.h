#pragma once
#include <windows.h>

#include <string>
#include <vector>

// One run of the setup program, started as Explorer starts a program.
class SetupProcess {
 public:
  // `suspended`: the main thread waits for resume(), so that hooks can be set first.
  SetupProcess(const std::string& program, const std::string& arguments, bool suspended);
  ~SetupProcess();  // ends the program if it still runs
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  DWORD threadId() const { return info.dwThreadId; }
  HANDLE handle() const { return info.hProcess; }
  void resume();
  bool running() const;
  bool waitForEnd(DWORD milliseconds) const;
  DWORD exitCode() const;
  void terminate();
  // Top-level windows of the program, in z-order.
  std::vector<HWND> topLevelWindows(bool visibleOnly) const;

 private:
  PROCESS_INFORMATION info = {};
};
