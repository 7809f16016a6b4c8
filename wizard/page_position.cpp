#include "page_position.h"

namespace Escort {

namespace {
const uint32_t kAnchorFlag = 0x80000000u;
const uint32_t kFlagMask = 0xFFFF0000u;
const uint32_t kIdMask = 0x0000FFFFu;
}  // namespace

int32_t centredPosition() { return -1; }

int32_t anchorPosition(int controlId) {
  return static_cast<int32_t>(static_cast<uint32_t>(controlId) | kAnchorFlag);
}

bool isAnchorPosition(int32_t code) { return (static_cast<uint32_t>(code) & kFlagMask) == kAnchorFlag; }

int anchorControlId(int32_t code) { return static_cast<int>(static_cast<uint32_t>(code) & kIdMask); }

}  // namespace Escort
