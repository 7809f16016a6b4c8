#pragma once
// What the layer does in this process, as the environment says
// (strict_windows_settings.h); read once, as the layer loads.
#include <string>

struct LayerSettings {
  bool deletePending = false;
  bool pathLimits = false;
  bool reparsePoints = false;
  bool volumes = false;
  std::string stateFile;  // empty: this process keeps its state to itself
};

LayerSettings readLayerSettings();
// The settings read as the layer loaded.
const LayerSettings& layerSettings();
