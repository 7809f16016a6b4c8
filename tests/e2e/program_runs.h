#pragma once
// The programs that a scenario or a test started, or took over once another
// program started them, each driven through a UiDriver. At the end, whatever
// still runs is listed and ended, and every run that ended must have had its
// exit code checked: a program that failed in silence fails the test.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ui_driver.h"

class ProgramRuns {
 public:
  explicit ProgramRuns(std::string screenshotDirectory);

  // Starts a program with exactly this command line, as Windows starts an
  // "UninstallString", in `workingDirectory` ("": the driver's own).
  UiDriver& startCommandLine(const std::string& commandLine, const std::string& workingDirectory = "",
                             Handles handles = Handles::Own, Rights rights = Rights::Administrator);
  // Takes over a program that another one started: the one that shows a
  // top-level window with this caption, waited for. Its dialogs are then
  // waited for and answered as message boxes.
  UiDriver& attachToWindow(const std::string& caption);
  // The same for a window with any of these captions, whichever shows first.
  UiDriver& attachToWindow(const std::vector<std::string>& captions);

  // Every program started from now on runs under the strict-Windows layer in
  // the file `layer` ("": none), and so does every program that it starts.
  void runUnderLayer(const std::string& layer) { layerFile = layer; }

  // Runs that have not ended, each with its windows listed; then ends them.
  // Returns how many there were.
  int reportAndEndRunning(std::ostream& out);
  // The runs that ended by themselves without their exit code checked.
  std::vector<std::string> uncheckedExits() const;

 protected:
  UiDriver& started(std::unique_ptr<SetupProcess> process);

  std::string screenshots;
  std::string layerFile;

 private:
  std::vector<std::unique_ptr<UiDriver>> runs;
};
