#pragma once
// What the next run of the setup program does with what an earlier run, or
// an uninstallation, left unsettled: it settles it before its first page.
#include "machine_snapshot.h"
#include "scenario_run.h"

// Starts the setup program, which must come to its welcome page with no
// journal left and the machine as `expected`; returns that run.
UiDriver& expectSettledByTheNextRun(ScenarioRun& run, const MachineSnapshot& expected,
                                    bool (*alsoChanged)(const std::string& entry) = nullptr);
