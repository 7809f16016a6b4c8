#include "scenario_run.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "scenario.h"
#include "setup_windows.h"
#include "window_text.h"

ScenarioRun::ScenarioRun(std::string setupProgram, std::string screenshotDirectory, std::string driverDirectory,
                         std::string payloadTree)
    : ProgramRuns(std::move(screenshotDirectory)),
      setup(std::move(setupProgram)),
      driverDirectory(std::move(driverDirectory)),
      tree(std::move(payloadTree)) {}

UiDriver& ScenarioRun::startSetup(const std::string& arguments) {
  return started(std::make_unique<SetupProcess>(setup, arguments, false, layerFile));
}

UiDriver& ScenarioRun::startOtherSetup(const std::string& program) {
  return started(std::make_unique<SetupProcess>(program, "", false, layerFile));
}

UiDriver& ScenarioRun::startHooked(std::initializer_list<Probe> probes) {
  auto process = std::make_unique<SetupProcess>(setup, "", true, layerFile);
  for (const Probe& probe : probes) {
    const std::string path = testFile(probe.module);
    HMODULE module = LoadLibraryA(path.c_str());
    check(module != nullptr, "the probe " + path + " loads");
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, probe.hookExport)));
    check(hook != nullptr, std::string("the probe exports ") + probe.hookExport);
    check(SetWindowsHookExA(probe.hookType, hook, module, process->threadId()) != nullptr,
          std::string("the probe's ") + probe.hookExport + " is set on the program's main thread");
  }
  process->resume();
  return started(std::move(process));
}

std::string ScenarioRun::probeFileNamed(const char* variable, const char* kind) {
  char directory[MAX_PATH] = "";
  GetTempPathA(sizeof directory, directory);
  const std::string file = std::string(directory) + "kestrel-" + kind + "-probe-" +
                           std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(file.c_str());
  SetEnvironmentVariableA(variable, file.c_str());
  return file;
}

UiDriver& ScenarioRun::startSetupWithShowProbe() {
  probeFile = probeFileNamed("KESTREL_SHOW_PROBE", "show");
  return startHooked({{"show_probe.dll", "probeCallWndProc", WH_CALLWNDPROC}});
}

UiDriver& ScenarioRun::startSetupWithOpenProbe() {
  openFile = probeFileNamed("KESTREL_OPEN_PROBE", "open");
  return startHooked({{"open_probe.dll", "probeOpens", WH_GETMESSAGE}});
}

std::string ScenarioRun::opensAsked() const {
  check(!openFile.empty(), "the program was started with the open probe");
  std::ifstream in(openFile, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ScenarioRun::prepareProgressProbe(const std::string& progressShot, const std::string& doneRecord) {
  for (const std::string& file : {progressShot, doneRecord}) {
    if (!file.empty()) DeleteFileA(file.c_str());
  }
  // Empty means unset, so that a later run of the scenario records nothing.
  SetEnvironmentVariableA("KESTREL_PROGRESS_SHOT", progressShot.empty() ? nullptr : progressShot.c_str());
  SetEnvironmentVariableA("KESTREL_DONE_PROBE", doneRecord.empty() ? nullptr : doneRecord.c_str());
}

UiDriver& ScenarioRun::startSetupWithProgressProbe(const std::string& progressShot, const std::string& doneRecord) {
  prepareProgressProbe(progressShot, doneRecord);
  return startHooked({{"progress_probe.dll", "probeGetMessage", WH_GETMESSAGE}});
}

UiDriver& ScenarioRun::startSetupWithLayoutProbe(const std::string& progressShot) {
  prepareProgressProbe(progressShot, "");
  layoutFile = probeFileNamed("KESTREL_LAYOUT_PROBE", "layout");
  return startHooked({{"layout_probe.dll", "probeLayoutCall", WH_CALLWNDPROC},
                      {"progress_probe.dll", "probeGetMessage", WH_GETMESSAGE}});
}

WizardLayout ScenarioRun::wizardLayout(UiDriver& setup) const {
  check(!layoutFile.empty(), "the program was started with the layout probe");
  DeleteFileA(layoutFile.c_str());
  DWORD_PTR ignored = 0;
  check(SendMessageTimeoutA(setup.mainWindow(), RegisterWindowMessageA(kLayoutProbeMessage), 0, 0,
                            SMTO_ABORTIFHUNG, 30000, &ignored) != 0,
        "the program answers the layout probe's message");
  std::ifstream in(layoutFile, std::ios::binary);
  check(in.good(), "the layout probe wrote " + layoutFile);
  return parseLayout(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

std::string ScenarioRun::screenshotPath(const std::string& name) const { return outputPath(name + ".png"); }

std::string ScenarioRun::outputPath(const std::string& fileName) const {
  std::filesystem::create_directories(screenshots);
  return screenshots + "\\" + fileName;
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
