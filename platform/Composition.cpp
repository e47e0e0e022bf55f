// Composition: each window paints into a client surface of its own; the
// window system copies those surfaces, with the borders it draws, into the
// backing picture of their frame, and hands the changed part of each frame
// to the backend when the queue idles. One child of a frame may lie over the
// backing instead (its layer): the backend reads its surface where it
// shows, and painting it copies nothing.
#include <cstring>

#include "platform/Backend.h"
#include "platform/WindowSystemState.h"
#include "platform/gdi/DC.h"

namespace quillon {
namespace platform {
namespace {

CRect ClientRectInFrame(const CWnd* wnd) {
    const WindowData* d = D(wnd);
    CPoint o = ClientOriginInFrame(wnd);
    return CRect(o.x, o.y, o.x + d->ClientWidth(), o.y + d->ClientHeight());
}

// The part of the frame that a window's client area may show in: its client
// rectangle cut by every parent's.
CRect VisibleClipInFrame(const CWnd* wnd) {
    const WindowData* d = D(wnd);
    CRect r = ClientRectInFrame(wnd);
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

// A child may lie over its frame's backing when what the backing would get
// from it is exactly its surface: a visible child of the frame itself, with
// no visible window of its own and no later sibling over it.
bool MayLieOver(const CWnd* child) {
    const WindowData* cd = D(child);
    if (!cd || cd->topLevel || !cd->frame || cd->parent != cd->frame || !Visible(child))
        return false;
    const DibSection* s = cd->surface;
    if (!s || s->bitCount != 32 || s->width < cd->ClientWidth() || s->height < cd->ClientHeight())
        return false;
    if (ClientRectInFrame(child).IsRectEmpty()) return false;
    for (const CWnd* c : cd->children)
        if (D(c)->style & WS_VISIBLE) return false;
    const std::vector<CWnd*>& siblings = D(cd->parent)->children;
    bool later = false;
    for (const CWnd* sib : siblings) {
        if (sib == child) {
            later = true;
        } else if (later && (D(sib)->style & WS_VISIBLE)) {
            CRect both;
            if (both.IntersectRect(&D(sib)->rect, &cd->rect)) return false;
        }
    }
    return true;
}

// Whether the frame's layer still is what MayLieOver would choose, where
// and with the surface it had when it was chosen. Window operations that
// free a surface end the layer before (ReleaseLayer); the others are caught
// here, at the next composition or present.
bool LayerHolds(const WindowData* fd) {
    const CWnd* layer = fd->layer;
    return MayLieOver(layer) && fd->shown.layer == D(layer)->surface &&
           fd->shown.layerRect == ClientRectInFrame(layer);
}

// Whether `wnd` lies over its frame's backing, taking the place when it is
// free and `wnd` may.
bool LiesOver(WindowData* fd, CWnd* wnd) {
    if (fd->layer == wnd) return true;
    if (fd->layer || !MayLieOver(wnd)) return false;
    fd->layer = wnd;
    fd->shown.layer = D(wnd)->surface;
    fd->shown.layerRect = ClientRectInFrame(wnd);
    return true;
}

void ComposeChildren(const CWnd* parent, const CRect& area, HBITMAP backing) {
    const WindowData* pd = D(parent);
    WindowData* fd = D(pd->frame);
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
        if (LiesOver(fd, child)) continue;
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

void ReleaseLayer(const CWnd* wndInFrame) {
    const WindowData* d = D(wndInFrame);
    if (!d || !d->frame) return;
    WindowData* fd = D(d->frame);
    if (!fd || !fd->layer) return;
    CWnd* layer = fd->layer;
    fd->layer = nullptr;
    fd->shown.layer = nullptr;
    fd->shown.layerRect.SetRectEmpty();
    // It still shows as it is; the backing now holds that.
    const WindowData* ld = D(layer);
    if (!IsLive(layer) || !ld->surface || !fd->surface || !Visible(layer)) return;
    const CRect area = VisibleClipInFrame(layer);
    if (area.IsRectEmpty()) return;
    CopyPixels(*ld->surface, area - ClientRectInFrame(layer).TopLeft(), *fd->surface,
               area.TopLeft());
}

void CopyShownRect(const FramePicture& picture, const RECT& rect, std::uint8_t* to, int pitch) {
    const CRect r(rect);
    const CRect over = picture.layer ? picture.layerRect & r : CRect();
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* row = to + static_cast<std::ptrdiff_t>(y - r.top) * pitch;
        auto copy = [&](const DibSection& from, int fromX, int fromY, int x, int width) {
            if (width <= 0) return;
            std::memcpy(row + static_cast<std::size_t>(x - r.left) * 4,
                        from.Row(fromY) + static_cast<std::size_t>(fromX) * 4,
                        static_cast<std::size_t>(width) * 4);
        };
        if (over.IsRectEmpty() || y < over.top || y >= over.bottom) {
            copy(*picture.backing, r.left, y, r.left, r.Width());
            continue;
        }
        copy(*picture.backing, r.left, y, r.left, over.left - r.left);
        copy(*picture.layer, over.left - picture.layerRect.left, y - picture.layerRect.top,
             over.left, over.Width());
        copy(*picture.backing, over.right, y, over.right, r.right - over.right);
    }
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
    if (fd->layer && !LayerHolds(fd)) ReleaseLayer(wnd);
    if (wnd != d->frame && d->surface && !LiesOver(fd, wnd)) {
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
        // A backend may read the picture later than it is handed over.
        if (d->layer && !LayerHolds(d)) ReleaseLayer(w);
        if (d->presentDirty.IsRectEmpty()) continue;
        CRect dirty = d->presentDirty;
        d->presentDirty.SetRectEmpty();
        d->shown.backing = d->surface;
        CurrentBackend().Present(d->backendId, d->shown, dirty);
    }
}

}  // namespace platform
}  // namespace quillon
