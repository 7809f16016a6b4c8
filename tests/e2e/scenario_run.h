#pragma once
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "page_snapshot.h"
#include "ui_driver.h"

// What a scenario works with: the setup program under test, and every run of
// it that the scenario started.
class ScenarioRun {
 public:
  ScenarioRun(std::string setupProgram, std::string screenshotDirectory, std::string probeModule);

  // Starts the setup program with this command line after its name.
  UiDriver& startSetup(const std::string& arguments = "");
  // Starts it with the show probe set on its main thread; showSnapshot() then
  // gives what the pages held when the frame was first about to be shown.
  UiDriver& startSetupWithShowProbe();
  PageSnapshot showSnapshot() const;

  const std::string& setupProgram() const { return setup; }
  // Runs that have not ended, each with its windows listed; then ends them.
  // Returns how many there were.
  int reportAndEndRunning(std::ostream& out);

 private:
  UiDriver& started(std::unique_ptr<SetupProcess> process);

  std::string setup;
  std::string screenshots;
  std::string probe;
  std::string probeFile;
  std::vector<std::unique_ptr<UiDriver>> runs;
};
