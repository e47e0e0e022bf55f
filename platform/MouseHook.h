// The mouse hook's three calls. After MouseHook_Set and
// MouseHook_MessageGoOutMouse the window is posted the given message (both
// parameters 0) each time the pointer leaves its client area, either onto
// another window or out of the top-level window, until MouseHook_Release.
// Leaving is told whoever holds the capture.
#pragma once

#include <quillon/platform/Messages.h>
#include <quillon/platform/Types.h>

BOOL MouseHook_Set(HWND hwnd);
BOOL MouseHook_MessageGoOutMouse(HWND hwnd, UINT message);
BOOL MouseHook_Release(HWND hwnd);
