#pragma once
// What the benchmark reports about the process's memory.
#include <windows.h>

#include <cstdint>

struct ProcessMemory {
  uint64_t peakWorkingSet = 0;
  uint64_t peakPagefileUsage = 0;
};

// GetProcessMemoryInfo's peaks.
ProcessMemory processMemory();

// Committed private memory, summed over the address space with VirtualQuery.
// Unlike the working set it leaves out the mapped payload resources, which
// every run touches whole, and unlike Wine's peak counters (taken from the host
// process, Wine's own memory included) it can be read at any moment of a run.
uint64_t committedPrivateBytes();
