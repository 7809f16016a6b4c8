#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// Whether a program started gets the inheritable handles of the driver.
enum class Handles { Own, Inherited };
// Whose rights a program started has: the driver's (an administrator's, as
// Wine runs everything), or those of a user who is no administrator. The
// latter is the driver's token with the Administrators group there for
// denying access only, as in the token of an administrator's unelevated
// programs under UAC, and as good as absent, as for a limited account on XP.
enum class Rights { Administrator, NoAdministrator };

// One run of the setup program, started as Explorer starts a program. With
// `layer` (the strict-Windows layer's file), the program runs under that
// layer from its first instruction on (tests/strict_windows).
class SetupProcess {
 public:
  // `suspended`: the main thread waits for resume(), so that hooks can be set first.
  SetupProcess(const std::string& program, const std::string& arguments, bool suspended,
               const std::string& layer = "");
  // Started with exactly this command line, as Windows starts an
  // "UninstallString", in `workingDirectory` ("": the driver's own).
  explicit SetupProcess(const std::string& commandLine, const std::string& workingDirectory = "",
                        Handles handles = Handles::Own, Rights rights = Rights::Administrator,
                        const std::string& layer = "");
  // The process, whichever started it, that shows a visible top-level window
  // with this caption, waited for as long as the driver waits for anything.
  static std::unique_ptr<SetupProcess> showing(const std::string& caption);
  // The same with any of these captions, whichever shows first.
  static std::unique_ptr<SetupProcess> showing(const std::vector<std::string>& captions);
  ~SetupProcess();  // ends the program if it still runs
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  DWORD threadId() const { return info.dwThreadId; }
  DWORD processId() const { return info.dwProcessId; }
  // Its command line, or how it was found.
  const std::string& description() const { return what; }
  HANDLE handle() const { return info.hProcess; }
  // Holds the main thread, until resume().
  void suspend();
  void resume();
  bool running() const;
  bool waitForEnd(DWORD milliseconds) const;
  DWORD exitCode() const;
  void terminate();
  // Top-level windows of the program, in z-order.
  std::vector<HWND> topLevelWindows(bool visibleOnly) const;

 private:
  SetupProcess() = default;
  void start(const char* program, std::string commandLine, bool suspended, const std::string& workingDirectory = "",
             Handles handles = Handles::Own, Rights rights = Rights::Administrator, const std::string& layer = "");

  PROCESS_INFORMATION info = {};
  std::string what;
};
