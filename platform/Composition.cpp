// Composition: each window paints into a client surface of its own; the
// window system copies those surfaces, with the borders it draws, into the
// backing picture of their frame, and hands the changed part of each frame
// to the backend when the queue idles.
#include <cstring>

#include "platform/Backend.h"
#include "platform/WindowSystemState.h"
#include "platform/gdi/DC.h"

namespace quillon {
namespace platform {
namespace {

// The part of the frame that a window's client area may show in: its client
// rectangle cut by every parent's.
CRect VisibleClipInFrame(const CWnd* wnd) {
    const WindowData* d = D(wnd);
    CPoint o = ClientOriginInFrame(wnd);
    CRect r(o.x, o.y, o.x + d->ClientWidth(), o.y + d->ClientHeight());
    if (!d->topLevel) r &= VisibleClipInFrame(d->parent);
    return r;
}

// Copies a rectangle of one 32-bit surface to a place of another; both
// rectangles must lie inside their surfaces.
void CopyPixels(const DibSection& src, const CRect& from, DibSection& dst, CPoint to) {
    const std::size_t bytes = static_cast<std::size_t>(from.Width()) * 4;
    for (int y = 0; y < from.Height(); ++y) {
        const std::uint8_t* s = src.Row(from.top + y) + static_cast<std::size_t>(from.left) * 4;
        std::uint8_t* d = dst.Row(to.y + y) + static_cast<std::size_t>(to.x) * 4;
        std::memcpy(d, s, bytes);
    }
}

// The border the window system draws for WS_BORDER (one pixel in the frame
// colour) and WS_EX_CLIENTEDGE (a sunken 3-D edge of two pixels inside it).
void DrawBorder(const WindowData& d, HBITMAP backing, const CRect& window, const CRect& clip) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(backing);
    dc.SetClipBox(&clip);
    CRect r = window;
    if (d.style & WS_BORDER) {
        CBrush frame(GetSysColor(COLOR_WINDOWFRAME));
        dc.FrameRect(&r, &frame);
        r.DeflateRect(1, 1);
    }
    if (d.exStyle & WS_EX_CLIENTEDGE) dc.DrawEdge(&r, EDGE_SUNKEN, BF_RECT);
}

void ComposeChildren(const CWnd* parent, const CRect& area, HBITMAP backing) {
    const WindowData* pd = D(parent);
    CPoint origin = ClientOriginInFrame(parent);
    for (CWnd* child : pd->children) {
        const WindowData* cd = D(child);
        if (!(cd->style & WS_VISIBLE)) continue;
        CRect window = cd->rect + origin;
        CRect clip = window & area;
        if (clip.IsRectEmpty()) continue;
        if (cd->edge > 0) DrawBorder(*cd, backing, window, clip);
        CRect client = window;
        client.DeflateRect(cd->edge, cd->edge);
        CRect part = client & area;
        if (part.IsRectEmpty()) continue;
        if (cd->surface) {
            CRect from = part - client.TopLeft();
            CopyPixels(*cd->surface, from, *backing, part.TopLeft());
        }
        ComposeChildren(child, part, backing);
    }
}

}  // namespace

HBITMAP MakeSurface(int width, int height) {
    if (width < 1 || height < 1) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

HBITMAP FrameBacking(const CWnd* frame) {
    const WindowData* d = D(frame);
    if (!d || !d->topLevel || !d->frame) return nullptr;
    return d->surface;
}

HBITMAP TakeUpdateArea(CWnd* wnd, PAINTSTRUCT* ps) {
    *ps = PAINTSTRUCT{};
    WindowData* d = D(wnd);
    if (!d || !IsLive(wnd)) return nullptr;
    CRect client(0, 0, d->ClientWidth(), d->ClientHeight());
    ps->rcPaint = d->update & client;
    ps->fErase = d->erase ? TRUE : FALSE;
    d->update.SetRectEmpty();
    d->erase = false;
    d->painted = true;
    return d->surface;
}

void ComposeClientRect(CWnd* wnd, const RECT& clientRect) {
    WindowData* d = D(wnd);
    if (!d || !IsLive(wnd) || !d->frame || !Visible(wnd)) return;
    WindowData* fd = D(d->frame);
    HBITMAP backing = fd ? fd->surface : nullptr;
    if (!backing) return;
    CRect area = CRect(clientRect) + ClientOriginInFrame(wnd);
    area &= VisibleClipInFrame(wnd);
    if (area.IsRectEmpty()) return;
    if (wnd != d->frame && d->surface) {
        CRect from = area - ClientOriginInFrame(wnd);
        CopyPixels(*d->surface, from, *backing, area.TopLeft());
    }
    ComposeChildren(wnd, area, backing);
    fd->presentDirty |= area;
}

void PresentAll() {
    std::vector<CWnd*> windows = State().windows;
    for (CWnd* w : windows) {
        WindowData* d = D(w);
        if (!d || !d->topLevel || !d->frame || !d->backendId || !d->surface) continue;
        if (d->presentDirty.IsRectEmpty()) continue;
        CRect dirty = d->presentDirty;
        d->presentDirty.SetRectEmpty();
        CurrentBackend().Present(d->backendId, *d->surface, dirty);
    }
}

}  // namespace platform
}  // namespace quillon
