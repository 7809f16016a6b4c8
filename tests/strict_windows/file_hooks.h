#pragma once
// The functions that stand in for the program's file functions: each keeps
// Windows' rules where Wine's differ (delete_pending.h, path_limits.h,
// reparse_points.h), in the behaviours the run asked for, and otherwise
// calls the system's own function.
#include <cstddef>

#include "import_table.h"

// kernel32's functions that the programs import (or may look up), and
// ntdll's that they may look up.
const Redirection* fileRedirections(size_t& count);
