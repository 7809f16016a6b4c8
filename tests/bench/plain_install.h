#pragma once
// The yardsticks for the worker: the least an installation of the payload can
// do. It inflates the same streams into the same files with zlib and plain
// Win32 calls: chunk pointers looked up once, no copies, no uninstall log, and
// unless asked for the floor, no directory probes and no progress reports.
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
// a backslash. With a `progressWindow` the loop becomes the floor of the
// worker's design: it also does the two things that design cannot do without,
// probing each file's directory with a temporary file (created and deleted)
// and posting one WM_INSTALL_PROGRESS per inflate call to that window.
PlainInstallResult plainInstall(HMODULE payload, const std::string& programDir,
                                const std::string& simulatorDir, HWND progressWindow = nullptr);
