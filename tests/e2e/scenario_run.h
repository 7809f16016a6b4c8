#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "page_snapshot.h"
#include "program_runs.h"
#include "wizard_layout.h"

// What a scenario works with: the setup program under test, and every run of
// it (and of the uninstaller) that the scenario started.
class ScenarioRun : public ProgramRuns {
 public:
  // `driverDirectory` holds the driver, its probes and the test files built
  // beside it; `payloadTree` is the tree the program carries, or "" if unknown.
  ScenarioRun(std::string setupProgram, std::string screenshotDirectory, std::string driverDirectory,
              std::string payloadTree);

  // Starts the setup program with this command line after its name.
  UiDriver& startSetup(const std::string& arguments = "");
  // Starts another build of the setup program (the benchmark's earlier revision).
  UiDriver& startOtherSetup(const std::string& program);
  // Starts it with the show probe set on its main thread; showSnapshot() then
  // gives what the pages held when the frame was first about to be shown.
  UiDriver& startSetupWithShowProbe();
  // Starts it with the open probe set on its main thread; opensAsked() then
  // gives a line for each document it asked the shell to open: the file, its
  // folder and "opened" or "failed, code <SE_ERR_ code>", between tabs.
  UiDriver& startSetupWithOpenProbe();
  std::string opensAsked() const;
  PageSnapshot showSnapshot() const;
  // Starts it with the progress probe set on its main thread: once half the
  // bytes are written it shows the page as it is then and saves the frame as
  // `progressShot` (a PNG), and it writes to `doneRecord` when the worker
  // posted its first and its last message and when the page took the last,
  // as GetTickCount values on one line (progress_probe.cpp). Either may be ""
  // for not wanted.
  UiDriver& startSetupWithProgressProbe(const std::string& progressShot, const std::string& doneRecord);
  // Starts it with the layout probe set on its main thread, and the progress
  // probe for the shot `progressShot` as above; wizardLayout(setup) then
  // gives the wizard's layout as the program sees it at that moment.
  UiDriver& startSetupWithLayoutProbe(const std::string& progressShot);
  WizardLayout wizardLayout(UiDriver& setup) const;

  // Where a screenshot of this scenario called `name` goes.
  std::string screenshotPath(const std::string& name) const;
  // Where another file that the scenario leaves for its reader goes, beside
  // its screenshots (outside the drives that its snapshots compare).
  std::string outputPath(const std::string& fileName) const;
  // A file built beside the driver, by its path relative to the driver's directory.
  std::string testFile(const std::string& relative) const;
  // The payload tree the program carries: ks\ and fs\ below it. Fails the
  // scenario when the driver was not told.
  const std::string& payloadTree() const;
  // Whether the driver was told (a payload built elsewhere comes without).
  bool knowsPayloadTree() const { return !tree.empty(); }

  const std::string& setupProgram() const { return setup; }

 private:
  struct Probe {
    const char* module;  // beside the driver
    const char* hookExport;
    int hookType;
  };

  // Starts the program suspended, sets the hooks of the probes on its main
  // thread, and lets it run.
  UiDriver& startHooked(std::initializer_list<Probe> probes);
  // The probes find their files through the environment, which the program inherits.
  std::string probeFileNamed(const char* variable, const char* kind);
  void prepareProgressProbe(const std::string& progressShot, const std::string& doneRecord);

  std::string setup;
  std::string driverDirectory;
  std::string tree;
  std::string probeFile;
  std::string layoutFile;
  std::string openFile;
};
