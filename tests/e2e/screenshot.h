#pragma once
#include <windows.h>

#include "png_writer.h"

// What the screen shows of `window`, caption and border included. The window
// must be on top: the pixels are taken from the screen, which works for the
// windows of any process, also under Xvfb.
RgbImage captureWindow(HWND window);
// The same taken from the window's own device context, for a window of this
// process that has just been painted: Wine draws a top-level window into a
// buffer of the process and shows it on the screen only later, from its
// message loop, so the screen would still show the earlier picture.
RgbImage captureOwnWindow(HWND window);
