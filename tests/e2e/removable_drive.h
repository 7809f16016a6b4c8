#pragma once
// Drive X: of the scenarios named *drive*: a folder of the scenario's prefix
// (run-scenario.sh maps it), which a scenario unplugs and plugs back in, as a
// user does an external disk, while the programs run.

extern const char kRemovableDrive[];
// Drive Q: of the same scenarios, whose volume is gone, as a drive that was
// unplugged: it cannot be read.
extern const char kUnreadableDrive[];

// X: is not there from now on: Windows finds no such drive.
void unplugRemovableDrive();
// X: is back, with everything it held.
void plugRemovableDriveBackIn();
