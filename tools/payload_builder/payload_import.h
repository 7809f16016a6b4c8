#pragma once
#include <string>

#include "payload_verifier.h"

namespace PayloadTool {

// Takes in a payload directory that any tool may have written, for embedding.
// The setup program trusts its own catalog, so the payload is checked here as
// verifyPayload does without a tree; only a sound one is copied into `outDir`
// (its catalog and chunk files, with a resource script written here, never
// the one it came with), swapped in whole. On refusal `report` says why and
// `outDir` is left as it was.
bool importPayload(const std::string& payloadDir, const std::string& outDir, VerifyReport& report);

}  // namespace PayloadTool
