#pragma once
// How a test tells the strict-Windows layer what to do. Both go through the
// environment, which the program under test inherits and passes on to the
// programs it starts itself.
#include <string>

// The behaviours a run gets, separated by commas: any of the names below, or
// "all". A program started through the layer without this variable sees
// Wine's own behaviour, as if the layer were not there.
constexpr char kStrictWindowsVariable[] = "KESTREL_STRICT_WINDOWS";
// The file that the layer shares between the programs it is loaded into: the
// files being deleted, and a line for each program that runs under it.
constexpr char kStrictWindowsStateVariable[] = "KESTREL_STRICT_WINDOWS_STATE";

constexpr char kDeletePending[] = "delete-pending";
constexpr char kPathLimits[] = "path-limits";
constexpr char kReparsePoints[] = "reparse-points";
constexpr char kVolumes[] = "volumes";
constexpr char kAllBehaviours[] = "all";

// The state file's lines, fields separated by tabs:
//   process <pid> <program file>      written by the layer as it loads
//   pending <path> <file identity>    a file deleted while another handle holds it
constexpr char kProcessLine[] = "process";
constexpr char kPendingLine[] = "pending";
