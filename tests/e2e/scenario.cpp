#include "scenario.h"

#include <map>

namespace {

std::map<std::string, ScenarioBody>& scenarios() {
  static std::map<std::string, ScenarioBody> registered;
  return registered;
}

}  // namespace

ScenarioRegistration::ScenarioRegistration(const char* name, ScenarioBody body) { scenarios()[name] = body; }

ScenarioBody findScenario(const std::string& name) {
  const auto found = scenarios().find(name);
  return found == scenarios().end() ? nullptr : found->second;
}

std::vector<std::string> scenarioNames() {
  std::vector<std::string> names;
  for (const auto& entry : scenarios()) names.push_back(entry.first);
  return names;
}
