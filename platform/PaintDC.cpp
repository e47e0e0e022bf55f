#include "platform/PaintDC.h"

#include "platform/WindowSystem.h"

namespace {

// Points a context at the window's surface, clipped to `clip`.
void Attach(CDC* dc, HBITMAP surface, const RECT& clip) {
    dc->CreateCompatibleDC(nullptr);
    if (!surface) return;
    dc->SelectObject(surface);
    dc->SetClipBox(&clip);
}

void Erase(CWnd* wnd, CDC* dc, PAINTSTRUCT* ps) {
    if (ps->fErase && IsWindow(wnd))
        ps->fErase =
            SendMessage(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
}

}  // namespace

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    if (!ps) return nullptr;
    *ps = PAINTSTRUCT{};
    if (!IsWindow(hwnd)) return nullptr;
    auto* d = hwnd->PlatformData();
    HBITMAP surface = quillon::platform::TakeUpdateArea(hwnd, ps);
    delete d->paintDC;
    d->paintDC = new CDC;
    Attach(d->paintDC, surface, ps->rcPaint);
    ps->hdc = d->paintDC;
    Erase(hwnd, d->paintDC, ps);
    return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps || !IsWindow(hwnd)) return FALSE;
    quillon::platform::ComposeClientRect(hwnd, ps->rcPaint);
    auto* d = hwnd->PlatformData();
    if (d->paintDC == ps->hdc) {
        delete d->paintDC;
        d->paintDC = nullptr;
    }
    return TRUE;
}

BOOL ShareClientSurface(CWnd* wnd, HBITMAP picture) {
    if (!IsWindow(wnd)) return FALSE;
    auto* d = wnd->PlatformData();
    if (d->topLevel || !d->frame) return FALSE;
    // Larger is fine: the client area is its top-left part.
    if (picture != nullptr && (picture->bitCount != 32 || picture->width < d->ClientWidth() ||
                               picture->height < d->ClientHeight()))
        return FALSE;  // refused before the layer is touched: nothing changes
    quillon::platform::ReleaseLayer(wnd);
    if (picture == nullptr) {
        if (!d->surfaceShared) return TRUE;
        d->surface = quillon::platform::MakeSurface(d->ClientWidth(), d->ClientHeight());
        d->surfaceShared = false;
        return TRUE;
    }
    if (d->surface && !d->surfaceShared) DeleteObject(d->surface);
    d->surface = picture;
    d->surfaceShared = true;
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_wnd(wnd) {
    HBITMAP surface = nullptr;
    if (IsWindow(wnd)) surface = quillon::platform::TakeUpdateArea(wnd, &m_ps);
    m_ps.hdc = this;
    Attach(this, surface, m_ps.rcPaint);
    Erase(wnd, this, &m_ps);
}

CPaintDC::~CPaintDC() {
    if (IsWindow(m_wnd)) quillon::platform::ComposeClientRect(m_wnd, m_ps.rcPaint);
}

CClientDC::CClientDC(CWnd* wnd) : m_wnd(wnd) {
    HBITMAP surface = nullptr;
    CRect client;
    if (IsWindow(wnd)) {
        surface = wnd->PlatformData()->surface;
        wnd->GetClientRect(&client);
    }
    Attach(this, surface, client);
}

CClientDC::~CClientDC() {
    if (!IsWindow(m_wnd)) return;
    CRect client;
    m_wnd->GetClientRect(&client);
    quillon::platform::ComposeClientRect(m_wnd, client);
}
