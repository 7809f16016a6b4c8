#pragma once
// The programs that a program under the layer starts run under it too (the
// uninstaller's working copy), and what the program looks up at run time is
// redirected as its imports are.
#include <cstddef>

#include "import_table.h"

// `layer` is the layer's own file, loaded into every program started;
// `others` the redirections that GetProcAddress gives out besides these.
const Redirection* processRedirections(const char* layer, const Redirection* others, size_t othersCount,
                                       size_t& count);
