#pragma once
// The folders a run writes into, held where they stand for the whole run. A
// standard user may put a junction where a simulator's folder has a folder
// the run fills; the elevated run would write and replace files beyond it.
// So before anything changes every folder on the way below each destination
// that is already there is opened without following a link, refused when it
// is one, and held without sharing deletion until the run ends, so that no
// link can take its place meanwhile.
#include <windows.h>

#include <string>
#include <vector>

#include "change_plan.h"

class FoldersHeld {
 public:
  FoldersHeld() = default;
  ~FoldersHeld();
  FoldersHeld(const FoldersHeld&) = delete;
  FoldersHeld& operator=(const FoldersHeld&) = delete;

  // Holds the folders of `plan`'s files that are there below their
  // destinations; the first of them that is a link, "" when none is.
  std::string hold(const ChangePlan& plan);

 private:
  std::vector<HANDLE> held;
};
