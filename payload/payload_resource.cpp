#include "payload_resource.h"

#include "extract_result.h"

namespace Escort {

int loadPayloadResource(HMODULE module, uint16_t id, PayloadResource& out) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return kChunkMissing;
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return kChunkLoadFailed;
  const void* locked = LockResource(loaded);
  if (!locked) return kChunkLockFailed;
  out.data = static_cast<const unsigned char*>(locked);
  out.size = SizeofResource(module, found);
  return kExtractOk;
}

}  // namespace Escort
