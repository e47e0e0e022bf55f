#include "platform/gdi/DC.h"

#include <algorithm>
#include <cstring>

#include "platform/Backend.h"
#include "platform/gdi/Pixels.h"

using quillon::platform::gdi::BgrxToColor;
using quillon::platform::gdi::BuildLut;
using quillon::platform::gdi::ColorLut;
using quillon::platform::gdi::ColorToBgrx;
using quillon::platform::gdi::kBgrMask;
using quillon::platform::gdi::NearestCache;
using quillon::platform::gdi::ReadBgrx;
using quillon::platform::gdi::WriteBgrx;
using quillon::platform::gdi::WriteIndex;

namespace {
// What true-colour reads are given in place of a colour table.
const ColorLut kNoTable{};
}  // namespace

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_BTNFACE:
            return RGB(192, 192, 192);
        case COLOR_BTNSHADOW:
        case COLOR_GRAYTEXT:
            return RGB(128, 128, 128);
        case COLOR_BTNHIGHLIGHT:
        case COLOR_WINDOW:
        case COLOR_HIGHLIGHTTEXT:
            return RGB(255, 255, 255);
        case COLOR_3DLIGHT:
            return RGB(223, 223, 223);
        case COLOR_HIGHLIGHT:
            return RGB(0, 0, 128);
        case COLOR_INFOBK:
            return RGB(255, 255, 225);
        case COLOR_3DDKSHADOW:
        case COLOR_WINDOWTEXT:
        case COLOR_BTNTEXT:
        case COLOR_INFOTEXT:
        case COLOR_WINDOWFRAME:
        default:
            return RGB(0, 0, 0);
    }
}

bool CDC::CreateCompatibleDC(CDC* /*dc*/) {
    if (m_created) return false;
    m_created = true;
    return true;
}

bool CDC::DeleteDC() {
    if (!m_created) return false;
    m_created = false;
    m_bitmap = nullptr;
    m_palette = nullptr;
    m_font = nullptr;
    m_clip.SetRectEmpty();
    return true;
}

HBITMAP CDC::SelectObject(HBITMAP bitmap) {
    HBITMAP old = m_bitmap;
    m_bitmap = bitmap;
    SetClipBox(nullptr);
    return old;
}

CFont* CDC::SelectObject(CFont* font) {
    CFont* old = m_font;
    m_font = font;
    return old;
}

HPALETTE CDC::SelectPalette(HPALETTE palette, BOOL /*forceBackground*/) {
    HPALETTE old = m_palette;
    m_palette = palette;
    return old;
}

UINT CDC::RealizePalette() {
    return m_palette ? static_cast<UINT>(m_palette->entries.size()) : 0;
}

int CDC::GetDeviceCaps(int index) const {
    const quillon::platform::Backend& screen = quillon::platform::CurrentBackend();
    switch (index) {
        case HORZRES:
            return screen.ScreenWidth();
        case VERTRES:
            return screen.ScreenHeight();
        case BITSPIXEL:
            return screen.ScreenBitsPerPixel();
        default:
            return 0;
    }
}

CRect CDC::SetClipBox(const RECT* rect) {
    CRect whole;
    if (m_bitmap) whole.SetRect(0, 0, m_bitmap->width, m_bitmap->height);
    if (rect)
        m_clip.IntersectRect(&whole, rect);
    else
        m_clip = whole;
    return m_clip;
}

int CDC::GetClipBox(RECT* rect) const {
    if (rect) *rect = m_clip;
    return m_clip.IsRectEmpty() ? 1 : 2;  // NULLREGION, SIMPLEREGION
}

int CDC::SetStretchBltMode(int mode) {
    int old = m_stretchMode;
    m_stretchMode = mode;
    return old;
}

int CDC::SetBkMode(int mode) {
    int old = m_bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE) m_bkMode = mode;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    COLORREF old = m_bkColor;
    m_bkColor = color & 0xFFFFFF;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    COLORREF old = m_textColor;
    m_textColor = color & 0xFFFFFF;
    return old;
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    if (!m_bitmap || !rect) return;
    CRect r;
    if (!r.IntersectRect(rect, &m_clip)) return;
    HBITMAP dib = m_bitmap;
    const int bits = dib->bitCount;
    const std::uint32_t v = ColorToBgrx(color);
    const int n = r.Width();
    int index = 0;
    if (bits <= 8)
        index = quillon::platform::NearestColorIndex(dib->colors.data(),
                                                     static_cast<int>(dib->colors.size()), color);
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* row = dib->Row(y);
        switch (bits) {
            case 32:
                std::fill_n(reinterpret_cast<std::uint32_t*>(row) + r.left, n, v);
                break;
            case 24:
                for (int x = r.left; x < r.right; ++x) {
                    std::uint8_t* p = row + 3 * x;
                    p[0] = static_cast<std::uint8_t>(v);
                    p[1] = static_cast<std::uint8_t>(v >> 8);
                    p[2] = static_cast<std::uint8_t>(v >> 16);
                }
                break;
            case 16:
                for (int x = r.left; x < r.right; ++x) WriteBgrx(16, row, x, v, nullptr);
                break;
            case 8:
                std::memset(row + r.left, index, static_cast<std::size_t>(n));
                break;
            default:
                for (int x = r.left; x < r.right; ++x) WriteIndex(row, x, bits, index);
                break;
        }
    }
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    CRect r(x, y, x + cx, y + cy);
    FillSolidRect(&r, color);
}

void CDC::FrameRect(const RECT* rect, CBrush* brush) {
    if (!rect || !brush || rect->left >= rect->right || rect->top >= rect->bottom) return;
    COLORREF c = brush->GetColor();
    const RECT& r = *rect;
    FillSolidRect(r.left, r.top, r.right - r.left, 1, c);
    FillSolidRect(r.left, r.bottom - 1, r.right - r.left, 1, c);
    FillSolidRect(r.left, r.top + 1, 1, r.bottom - r.top - 2, c);
    FillSolidRect(r.right - 1, r.top + 1, 1, r.bottom - r.top - 2, c);
}

BOOL CDC::DrawEdge(RECT* rect, UINT edge, UINT flags) {
    if (!rect) return FALSE;
    CRect r(*rect);
    // One ring: the top and left lines in the first colour, the bottom and
    // right lines (which own the top-right and bottom-left corners) in the
    // second.
    auto ring = [this, flags, &r](COLORREF topLeft, COLORREF bottomRight) {
        if (r.IsRectEmpty()) return;
        if (flags & BF_TOP) FillSolidRect(r.left, r.top, r.Width() - 1, 1, topLeft);
        if (flags & BF_LEFT) FillSolidRect(r.left, r.top, 1, r.Height() - 1, topLeft);
        if (flags & BF_BOTTOM) FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
        if (flags & BF_RIGHT) FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
        if (flags & BF_LEFT) ++r.left;
        if (flags & BF_TOP) ++r.top;
        if (flags & BF_RIGHT) --r.right;
        if (flags & BF_BOTTOM) --r.bottom;
    };
    if (edge & BDR_RAISEDOUTER)
        ring(GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else if (edge & BDR_SUNKENOUTER)
        ring(GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT));
    if (edge & BDR_RAISEDINNER)
        ring(GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW));
    else if (edge & BDR_SUNKENINNER)
        ring(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    if (flags & BF_MIDDLE) FillSolidRect(&r, GetSysColor(COLOR_3DFACE));
    if (flags & BF_ADJUST) *rect = r;
    return TRUE;
}

void CDC::InvertRect(const RECT* rect) {
    if (!m_bitmap || !rect) return;
    CRect r;
    if (!r.IntersectRect(rect, &m_clip)) return;
    HBITMAP dib = m_bitmap;
    const int bits = dib->bitCount;
    ColorLut lut;
    BuildLut(dib->colors.data(), static_cast<int>(dib->colors.size()), &lut);
    NearestCache nearest(dib->colors.data(), static_cast<int>(dib->colors.size()));
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* row = dib->Row(y);
        if (bits == 32) {
            auto* p = reinterpret_cast<std::uint32_t*>(row);
            for (int x = r.left; x < r.right; ++x) p[x] ^= kBgrMask;
        } else if (bits == 24) {
            for (int i = 3 * r.left; i < 3 * r.right; ++i)
                row[i] = static_cast<std::uint8_t>(~row[i]);
        } else {
            for (int x = r.left; x < r.right; ++x)
                WriteBgrx(bits, row, x, ReadBgrx(bits, row, x, lut) ^ kBgrMask, &nearest);
        }
    }
}

COLORREF CDC::GetPixel(int x, int y) const {
    if (!m_bitmap || x < 0 || y < 0 || x >= m_bitmap->width || y >= m_bitmap->height) return 0;
    HBITMAP dib = m_bitmap;
    const std::uint8_t* row = dib->Row(y);
    if (dib->bitCount <= 8) {
        int index = quillon::platform::gdi::ReadIndex(row, x, dib->bitCount);
        if (index >= static_cast<int>(dib->colors.size())) return RGB(0, 0, 0);
        const RGBQUAD& q = dib->colors[static_cast<std::size_t>(index)];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    return BgrxToColor(ReadBgrx(dib->bitCount, row, x, kNoTable));
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (!m_bitmap || x < 0 || y < 0 || x >= m_bitmap->width || y >= m_bitmap->height)
        return CLR_INVALID;
    HBITMAP dib = m_bitmap;
    std::uint8_t* row = dib->Row(y);
    if (dib->bitCount <= 8) {
        int count = static_cast<int>(dib->colors.size());
        int index = quillon::platform::NearestColorIndex(dib->colors.data(), count, color);
        WriteIndex(row, x, dib->bitCount, index);
        if (count == 0) return RGB(0, 0, 0);
        const RGBQUAD& q = dib->colors[static_cast<std::size_t>(index)];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    WriteBgrx(dib->bitCount, row, x, ColorToBgrx(color), nullptr);
    return BgrxToColor(ReadBgrx(dib->bitCount, row, x, kNoTable));
}
