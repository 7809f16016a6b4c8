#include "setup_process.h"

#include <algorithm>

#include "layer_injection.h"
#include "scenario_check.h"
#include "window_text.h"

SetupProcess::SetupProcess(const std::string& program, const std::string& arguments, bool suspended,
                           const std::string& layer) {
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  start(program.c_str(), commandLine, suspended, "", Handles::Own, Rights::Administrator, layer);
}

SetupProcess::SetupProcess(const std::string& commandLine, const std::string& workingDirectory, Handles handles,
                           Rights rights, const std::string& layer) {
  start(nullptr, commandLine, false, workingDirectory, handles, rights, layer);
}

namespace {

// The driver's own token with the Administrators group for denying access only.
HANDLE tokenWithoutAdministrators() {
  HANDLE own = nullptr, restricted = nullptr;
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  SID_AND_ATTRIBUTES denyOnly = {administrators, 0};
  const bool made = OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own) &&
                    CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
                    CreateRestrictedToken(own, 0, 1, &denyOnly, 0, nullptr, 0, nullptr, &restricted);
  const DWORD error = GetLastError();
  if (own) CloseHandle(own);
  if (!made) throw ScenarioFailure("cannot make a token without administrator rights, error " + std::to_string(error));
  return restricted;
}

}  // namespace

void SetupProcess::start(const char* program, std::string commandLine, bool suspended,
                         const std::string& workingDirectory, Handles handles, Rights rights,
                         const std::string& layer) {
  what = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  const BOOL inherit = handles == Handles::Inherited;
  const DWORD flags = suspended ? CREATE_SUSPENDED : 0;
  const char* directory = workingDirectory.empty() ? nullptr : workingDirectory.c_str();
  DWORD error = ERROR_SUCCESS;
  if (rights == Rights::NoAdministrator) {
    what += " (no administrator)";
    const HANDLE token = tokenWithoutAdministrators();
    if (!CreateProcessAsUserA(token, program, &commandLine[0], nullptr, nullptr, inherit, flags, nullptr, directory,
                              &startup, &info))
      error = GetLastError();
    CloseHandle(token);
  } else if (!layer.empty()) {
    error = startWithLayer(layer, program, &commandLine[0], nullptr, nullptr, inherit, flags, nullptr, directory,
                           &startup, &info);
  } else if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, inherit, flags, nullptr, directory, &startup,
                             &info)) {
    error = GetLastError();
  }
  if (error) throw ScenarioFailure("cannot start " + commandLine + ", error " + std::to_string(error));
}

namespace {

struct CaptionSearch {
  std::vector<std::string> captions;
  DWORD processId = 0;
  DWORD threadId = 0;
  std::string shown;
};

BOOL CALLBACK findCaption(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<CaptionSearch*>(search);
  if (!IsWindowVisible(window)) return TRUE;
  const std::string caption = windowText(window);
  if (std::find(s->captions.begin(), s->captions.end(), caption) == s->captions.end()) return TRUE;
  s->threadId = GetWindowThreadProcessId(window, &s->processId);
  s->shown = caption;
  return FALSE;
}

}  // namespace

std::unique_ptr<SetupProcess> SetupProcess::showing(const std::string& caption) {
  return showing(std::vector<std::string>{caption});
}

std::unique_ptr<SetupProcess> SetupProcess::showing(const std::vector<std::string>& captions) {
  CaptionSearch search;
  search.captions = captions;
  std::string named;
  for (const std::string& caption : captions) named += (named.empty() ? "\"" : " or \"") + caption + "\"";
  // As long as the driver waits for anything else, and the uninstaller's copy
  // first waits for its original to end.
  for (const DWORD start = GetTickCount(); !search.processId; Sleep(50)) {
    if (GetTickCount() - start > 60000) throw ScenarioFailure("no program showed a window " + named);
    EnumWindows(findCaption, reinterpret_cast<LPARAM>(&search));
  }
  std::unique_ptr<SetupProcess> process(new SetupProcess);
  process->what = "the program that showed \"" + search.shown + "\"";
  process->info.dwProcessId = search.processId;
  process->info.dwThreadId = search.threadId;
  // All that a program the driver started itself allows: it is driven the
  // same way (held and let go, its memory read for the folder browser's texts).
  process->info.hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, search.processId);
  if (!process->info.hProcess)
    throw ScenarioFailure("cannot open process " + std::to_string(search.processId) + ", error " +
                          std::to_string(GetLastError()));
  return process;
}

SetupProcess::~SetupProcess() {
  terminate();
  if (info.hThread) CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
}

void SetupProcess::suspend() { SuspendThread(info.hThread); }

void SetupProcess::resume() { ResumeThread(info.hThread); }

bool SetupProcess::running() const { return !waitForEnd(0); }

bool SetupProcess::waitForEnd(DWORD milliseconds) const {
  return WaitForSingleObject(info.hProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD SetupProcess::exitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info.hProcess, &code);
  return code;
}

void SetupProcess::terminate() {
  if (running()) {
    TerminateProcess(info.hProcess, 255);
    waitForEnd(5000);
  }
}

namespace {

struct WindowSearch {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<WindowSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == s->processId && (!s->visibleOnly || IsWindowVisible(window))) s->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> SetupProcess::topLevelWindows(bool visibleOnly) const {
  WindowSearch search{info.dwProcessId, visibleOnly, {}};
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
