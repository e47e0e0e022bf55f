// The mouse hook is the platform's own: the input routing compares, for
// every hooked window, whether the pointer is over it before and after each
// mouse event, and posts the window's message when it went out.
#include "platform/MouseHook.h"

#include "platform/WindowSystem.h"

BOOL MouseHook_Set(HWND hwnd) {
    if (!IsWindow(hwnd)) return FALSE;
    auto* d = hwnd->PlatformData();
    d->hooked = true;
    d->hookInside = quillon::platform::PointerInClientOf(hwnd);
    return TRUE;
}

BOOL MouseHook_MessageGoOutMouse(HWND hwnd, UINT message) {
    if (!IsWindow(hwnd)) return FALSE;
    hwnd->PlatformData()->hookMessage = message;
    return TRUE;
}

BOOL MouseHook_Release(HWND hwnd) {
    if (!IsWindow(hwnd)) return FALSE;
    auto* d = hwnd->PlatformData();
    d->hooked = false;
    d->hookMessage = 0;
    d->hookInside = false;
    return TRUE;
}
