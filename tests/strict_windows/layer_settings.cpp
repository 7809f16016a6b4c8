#include "layer_settings.h"

#include <windows.h>

#include <sstream>

#include "strict_windows_settings.h"

namespace {

std::string environmentVariable(const char* name) {
  char value[4096] = "";
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

LayerSettings& settings() {
  static LayerSettings read;
  return read;
}

}  // namespace

LayerSettings readLayerSettings() {
  LayerSettings read;
  std::istringstream behaviours(environmentVariable(kStrictWindowsVariable));
  for (std::string name; std::getline(behaviours, name, ',');) {
    const bool all = name == kAllBehaviours;
    read.deletePending = read.deletePending || all || name == kDeletePending;
    read.pathLimits = read.pathLimits || all || name == kPathLimits;
    read.reparsePoints = read.reparsePoints || all || name == kReparsePoints;
    read.volumes = read.volumes || all || name == kVolumes;
  }
  read.stateFile = environmentVariable(kStrictWindowsStateVariable);
  settings() = read;
  return read;
}

const LayerSettings& layerSettings() { return settings(); }
