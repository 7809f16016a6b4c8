#pragma once
// Whether the volumes an installation writes to have room for it, worked out
// before anything is written: the bytes the plan writes to each volume, each
// file rounded up to the volume's clusters, against the space free there.
// The new files are written whole before the files they replace give way, so
// they need their whole size, whatever stands there now; the earlier files
// are renamed aside, never copied, so they need no more room, on any file
// system.
#include <cstdint>
#include <string>

#include "change_plan.h"

struct RoomShortage {
  std::string folder;  // the first folder (as the user knows it) on the volume
  uint64_t needed = 0;
  uint64_t free = 0;
};

// True, with the first volume that is short, when one is. A volume that
// cannot be read counts as having room: the installation then meets the
// problem itself and reports it.
bool findRoomShortage(const ChangePlan& plan, RoomShortage& shortage);
