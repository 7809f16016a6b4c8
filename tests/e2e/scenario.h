#pragma once
// Scenarios of the UI driver. Each one is written as
//
//   SCENARIO(license_acceptance) {
//     UiDriver& setup = run.startSetup();
//     ...
//   }
//
// in any *_scenarios.cpp of this directory; CMake finds it there and registers
// it as the ctest test e2e_<name>, run in a Wine prefix of its own.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class ScenarioRun;

// A check that did not hold. The driver then lists the program's windows,
// ends the program and fails.
class ScenarioFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void check(bool condition, const std::string& what);
void checkEqual(const std::string& actual, const std::string& expected, const std::string& what);
void checkEqual(long long actual, long long expected, const std::string& what);
void checkEqual(bool actual, bool expected, const std::string& what);
// Polls `condition` until it holds; fails after a minute.
void waitUntil(const std::string& what, const std::function<bool()>& condition);

using ScenarioBody = void (*)(ScenarioRun& run);

struct ScenarioRegistration {
  ScenarioRegistration(const char* name, ScenarioBody body);
};

ScenarioBody findScenario(const std::string& name);
std::vector<std::string> scenarioNames();

#define SCENARIO(name)                                                             \
  static void scenario_##name(ScenarioRun& run);                                   \
  static const ScenarioRegistration registration_##name(#name, scenario_##name); \
  static void scenario_##name(ScenarioRun& run)
