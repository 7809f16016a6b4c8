#include "process_memory.h"

#include <psapi.h>

ProcessMemory processMemory() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  ProcessMemory memory;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    memory.peakWorkingSet = counters.PeakWorkingSetSize;
    memory.peakPagefileUsage = counters.PeakPagefileUsage;
  }
  return memory;
}

uint64_t committedPrivateBytes() {
  uint64_t sum = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) sum += region.RegionSize;
  }
  return sum;
}
