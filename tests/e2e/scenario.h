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
#include <string>
#include <vector>

#include "scenario_check.h"

class ScenarioRun;

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
