#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace Escort {

struct PayloadResource {
  const unsigned char* data = nullptr;
  size_t size = 0;
};

// Finds, loads and locks RT_RCDATA resource `id` of `module`: 0 with `out`
// filled, else 4 (not found), 5 (not loaded) or 6 (no pointer). Resources stay
// mapped for the life of the process, so nothing is released.
int loadPayloadResource(HMODULE module, uint16_t id, PayloadResource& out);

}  // namespace Escort
