#pragma once
// Every change a run of the setup program will make, worked out before the
// first one: the journal records it whole in a few records (not one for each
// file), the checks before the run read it (room, held files, the paths), and
// the worker then finds each of its changes recorded already. No Windows
// headers.
#include <cstdint>
#include <string>
#include <vector>

struct PlannedFile {
  std::string path;
  // Where the earlier file goes aside, beside it (a name no file had when
  // the plan was made); empty where none stands.
  std::string keptCopy;
  uint32_t size = 0;   // its bytes once written
  size_t folder = 0;   // its place in ChangePlan::destinations
};

struct ChangePlan {
  // The folders the user knows the files by: the program directory, each
  // simulator's folder; each with its trailing backslash.
  std::vector<std::string> destinations;
  std::vector<std::string> folders;  // to be made, each before those below it
  std::vector<PlannedFile> files;    // in the order the run writes them
  std::vector<std::string> keys;     // below HKEY_LOCAL_MACHINE, whose earlier state is recorded
};
