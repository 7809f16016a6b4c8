#pragma once
// The yardstick for the worker: the least an installation of the payload can
// do. It inflates the same streams into the same files with zlib and plain
// Win32 calls: chunk pointers looked up once, no copies, one zlib stream
// reset for each file, a write only for a full buffer or a file's end, no
// uninstall log, no temporary names, no progress reports and nothing kept to
// take back.
#include <windows.h>

#include <cstdint>
#include <string>

struct PlainInstallResult {
  bool ok = false;
  uint32_t files = 0;
  uint64_t bytes = 0;
};

// Writes what the worker writes for a job with the program files (into
// `programDir`) and Flight Simulator 2004 (into `simulatorDir`); both end with
// a backslash.
PlainInstallResult plainInstall(HMODULE payload, const std::string& programDir,
                                const std::string& simulatorDir);
