#pragma once
#include <windows.h>

#include "png_writer.h"

// What the screen shows of `window`, caption and border included. The window
// must be on top: the pixels are taken from the screen, which works for the
// windows of any process, also under Xvfb.
RgbImage captureWindow(HWND window);
