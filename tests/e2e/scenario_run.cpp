#include "scenario_run.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "scenario.h"
#include "window_dump.h"
#include "window_text.h"

ScenarioRun::ScenarioRun(std::string setupProgram, std::string screenshotDirectory, std::string driverDirectory,
                         std::string payloadTree)
    : setup(std::move(setupProgram)),
      screenshots(std::move(screenshotDirectory)),
      driverDirectory(std::move(driverDirectory)),
      tree(std::move(payloadTree)) {}

UiDriver& ScenarioRun::started(std::unique_ptr<SetupProcess> process) {
  runs.push_back(std::make_unique<UiDriver>(std::move(process), screenshots));
  return *runs.back();
}

UiDriver& ScenarioRun::startCommandLine(const std::string& commandLine, const std::string& workingDirectory) {
  return started(std::make_unique<SetupProcess>(commandLine, workingDirectory));
}

namespace {

struct CaptionSearch {
  std::string caption;
  DWORD processId = 0;
};

BOOL CALLBACK findCaption(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<CaptionSearch*>(search);
  if (!IsWindowVisible(window) || windowText(window) != s->caption) return TRUE;
  GetWindowThreadProcessId(window, &s->processId);
  return FALSE;
}

}  // namespace

UiDriver& ScenarioRun::attachToWindow(const std::string& caption) {
  CaptionSearch search{caption};
  // As long as the driver waits for anything else, and the uninstaller's copy
  // first waits for its original to end.
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(50)) {
    EnumWindows(findCaption, reinterpret_cast<LPARAM>(&search));
    if (search.processId) return started(SetupProcess::attach(search.processId));
  }
  throw ScenarioFailure("no program showed a window \"" + caption + "\"");
}

UiDriver& ScenarioRun::startSetup(const std::string& arguments) {
  return started(std::make_unique<SetupProcess>(setup, arguments, false));
}

UiDriver& ScenarioRun::startHooked(const char* probeName, const char* hookExport, int hookType) {
  const std::string probe = testFile(probeName);
  HMODULE module = LoadLibraryA(probe.c_str());
  check(module != nullptr, "the probe " + probe + " loads");
  auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, hookExport)));
  check(hook != nullptr, std::string("the probe exports ") + hookExport);
  auto process = std::make_unique<SetupProcess>(setup, "", true);
  check(SetWindowsHookExA(hookType, hook, module, process->threadId()) != nullptr,
        std::string("the probe's ") + hookExport + " is set on the program's main thread");
  process->resume();
  return started(std::move(process));
}

UiDriver& ScenarioRun::startSetupWithShowProbe() {
  char directory[MAX_PATH] = "";
  GetTempPathA(sizeof directory, directory);
  probeFile = std::string(directory) + "kestrel-show-probe-" + std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(probeFile.c_str());
  // The probe runs inside the program and finds its file through the
  // environment, which the program inherits.
  SetEnvironmentVariableA("KESTREL_SHOW_PROBE", probeFile.c_str());
  return startHooked("show_probe.dll", "probeCallWndProc", WH_CALLWNDPROC);
}

UiDriver& ScenarioRun::startSetupWithProgressProbe(const std::string& progressShot, const std::string& doneRecord) {
  for (const std::string& file : {progressShot, doneRecord}) {
    if (!file.empty()) DeleteFileA(file.c_str());
  }
  // Empty means unset, so that a later run of the scenario records nothing.
  SetEnvironmentVariableA("KESTREL_PROGRESS_SHOT", progressShot.empty() ? nullptr : progressShot.c_str());
  SetEnvironmentVariableA("KESTREL_DONE_PROBE", doneRecord.empty() ? nullptr : doneRecord.c_str());
  return startHooked("progress_probe.dll", "probeGetMessage", WH_GETMESSAGE);
}

std::string ScenarioRun::screenshotPath(const std::string& name) const {
  std::filesystem::create_directories(screenshots);
  return screenshots + "\\" + name + ".png";
}

std::string ScenarioRun::testFile(const std::string& relative) const { return driverDirectory + relative; }

const std::string& ScenarioRun::payloadTree() const {
  check(!tree.empty(), "the driver was given the payload tree");
  return tree;
}

PageSnapshot ScenarioRun::showSnapshot() const {
  std::ifstream in(probeFile, std::ios::binary);
  check(in.good(), "the show probe wrote " + probeFile);
  return parseSnapshot(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

int ScenarioRun::reportAndEndRunning(std::ostream& out) {
  int running = 0;
  for (const auto& run : runs) {
    if (!run->process().running()) continue;
    ++running;
    dumpWindows(run->process(), out);
    run->process().terminate();
  }
  return running;
}
