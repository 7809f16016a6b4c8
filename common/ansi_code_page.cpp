// The lead bytes of the system's ANSI code page, in which Windows hands this
// program every path and name through the "A" functions.
#include <windows.h>

#include "text_format.h"

bool isLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
