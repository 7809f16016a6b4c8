#pragma once
// Codes for where the frame puts its pages along one axis: centred, on the
// edge of a control of the frame (the anchor), or at a literal coordinate.
#include <cstdint>

namespace Escort {

int32_t centredPosition();
int32_t anchorPosition(int controlId);
bool isAnchorPosition(int32_t code);
int anchorControlId(int32_t code);

}  // namespace Escort
