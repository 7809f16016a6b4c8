#include "program_runs.h"

#include "throttle.h"
#include "window_dump.h"

ProgramRuns::ProgramRuns(std::string screenshotDirectory) : screenshots(std::move(screenshotDirectory)) {}

UiDriver& ProgramRuns::started(std::unique_ptr<SetupProcess> process) {
  runs.push_back(std::make_unique<UiDriver>(std::move(process), screenshots));
  return *runs.back();
}

UiDriver& ProgramRuns::startCommandLine(const std::string& commandLine, const std::string& workingDirectory,
                                        Handles handles, Rights rights) {
  return started(std::make_unique<SetupProcess>(commandLine, workingDirectory, handles, rights, layerFile));
}

UiDriver& ProgramRuns::attachToWindow(const std::string& caption) { return started(SetupProcess::showing(caption)); }

UiDriver& ProgramRuns::attachToWindow(const std::vector<std::string>& captions) {
  return started(SetupProcess::showing(captions));
}

int ProgramRuns::reportAndEndRunning(std::ostream& out) {
  int running = 0;
  for (const auto& run : runs) {
    if (!run->process().running()) continue;
    ++running;
    // One that a scenario held still answers no message: listing its windows
    // would wait out the time limit of every control.
    resumeProcess(run->process().handle());
    dumpWindows(run->process(), out);
    run->endFromOutside();
  }
  return running;
}

std::vector<std::string> ProgramRuns::uncheckedExits() const {
  std::vector<std::string> unchecked;
  for (const auto& run : runs) {
    if (!run->exitAccountedFor()) unchecked.push_back(run->process().description());
  }
  return unchecked;
}
