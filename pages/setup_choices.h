#pragma once
// What the user decides in the wizard. Start-up owns the one record and hands
// it to the frame as its user data; every page fetches it from there.
#include <cstdint>
#include <string>

#include "setup_exit_codes.h"

// The installation types, in the order of the type page's radio buttons.
enum InstallType : int32_t {
  OneComputer = 0,        // program files and simulator files
  KestrelComputer = 1,    // this computer runs only the add-on: program files
  SimulatorComputer = 2,  // this computer runs only the simulator: simulator files
};

// What each type installs: program files for the types 0 and 1, simulator
// files (into the folders whose use flag is set) for the types 0 and 2.
inline bool installsProgramFiles(int32_t type) { return type == OneComputer || type == KestrelComputer; }
inline bool installsSimulatorFiles(int32_t type) { return type == OneComputer || type == SimulatorComputer; }

struct SetupChoices {
  int32_t installType = OneComputer;
  std::string programDir;  // ends with a backslash once the pages exist
  std::string fs2002Dir;   // the registry's "EXE Path" as it stands; empty when not found
  std::string fs2004Dir;
  bool useFs2002 = false;
  bool useFs2004 = false;
  // How the run ends (setup_exit_codes.h); every way out of the wizard but
  // Finish and a failure is a cancel.
  int32_t exitCode = kExitCancelled;
};
