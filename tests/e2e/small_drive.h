#pragma once
// Drive E: of the scenarios named *small_drive*: a 1 MiB drive of its own
// (run-scenario.sh mounts it), which the scenarios fill with a file of their
// own to leave as much free space as they want.
#include <windows.h>

#include <string>

extern const char kSmallDrive[];

ULONGLONG smallDriveFreeBytes();
// The size of its clusters, in which a file takes room.
ULONGLONG smallDriveClusterBytes();
// Fills the drive up to `freeBytes` free (0: as full as it gets).
void leaveFreeOnSmallDrive(ULONGLONG freeBytes);
// Takes the filling away again.
void emptySmallDrive();
