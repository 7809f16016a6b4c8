#pragma once
#include <ostream>

#include "setup_process.h"

// Every visible window of the program with all its controls: id, class,
// text, enabled and visible; what a failed scenario leaves for the reader.
void dumpWindows(const SetupProcess& process, std::ostream& out);
