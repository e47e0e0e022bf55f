// The drawing surface: a memory device context over a DIB section, with the
// drawing calls the screen uses (fills, frames, 3-D edges, inversion, the
// stretch copy with its raster operations, pixel access and text).
//
// Clipping rule: every drawing call (fills, frames, edges, inversion, stretch
// copies, text) is limited to the context's clip box, which is the whole
// selected bitmap unless SetClipBox narrowed it; a picture keeps its memory
// context's clip box equal to its own clip rectangle. GetPixel and SetPixel
// address single pixels and are limited only by the bitmap.
#pragma once

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

#include "platform/gdi/Bitmap.h"

class CFont;

// Raster operations of the stretch copy.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;

// Stretch modes; COLORONCOLOR drops rows and columns without blending.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// Background modes for text.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// GetDeviceCaps indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// DrawText formats. Only the default (0: left, top, breaks at newlines
// only, clipped to the rectangle) is laid out.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;

// DrawEdge edges and sides.
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr UINT BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x0800;
constexpr UINT BF_ADJUST = 0x2000;

// System colours of the classic 3-D look.
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;

// The classic colours: face 192, highlight 255, shadow 128, dark shadow 0,
// light 223, white windows with black text. Unknown indexes give black.
COLORREF GetSysColor(int index);

// The wait cursor shown while pictures load; it belongs to the window
// system's cursors (platform/Cursor.cpp).
void BeginWaitCursor();
void EndWaitCursor();

// A solid brush; the only kind the screen draws with.
class CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) : m_color(color), m_created(true) {}
    bool CreateSolidBrush(COLORREF color) {
        m_color = color;
        m_created = true;
        return true;
    }
    bool IsCreated() const { return m_created; }
    COLORREF GetColor() const { return m_color; }

private:
    COLORREF m_color = 0;
    bool m_created = false;
};

class CDC {
public:
    CDC() = default;
    ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory context compatible with the screen (any argument: there is
    // one screen). Nothing can be drawn until a bitmap is selected.
    bool CreateCompatibleDC(CDC* dc);
    bool DeleteDC();

    // Selecting a bitmap resets the clip box to the whole bitmap.
    HBITMAP SelectObject(HBITMAP bitmap);
    // Returns the font that was selected (null: the default GUI font).
    CFont* SelectObject(CFont* font);
    HBITMAP GetCurrentBitmap() const { return m_bitmap; }
    CFont* GetCurrentFont() const { return m_font; }

    // Our surfaces are true colour or carry their own colour table, so a
    // palette is only recorded.
    HPALETTE SelectPalette(HPALETTE palette, BOOL forceBackground);
    UINT RealizePalette();
    HPALETTE GetCurrentPalette() const { return m_palette; }

    // HORZRES, VERTRES and BITSPIXEL of the screen; 0 for other indexes.
    int GetDeviceCaps(int index) const;

    // The clip box: null selects the whole bitmap; otherwise the rectangle
    // intersected with the bitmap (possibly empty). Returns the new box.
    CRect SetClipBox(const RECT* rect);
    int GetClipBox(RECT* rect) const;

    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const { return m_stretchMode; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }

    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A one-pixel frame just inside the rectangle.
    void FrameRect(const RECT* rect, CBrush* brush);
    // The 3-D edges of the classic look: outer ring then inner ring, the
    // top and left sides in the lighter colour of a raised edge.
    BOOL DrawEdge(RECT* rect, UINT edge, UINT flags);
    // Inverts the colour of every pixel (at 1, 4 and 8 bits: the nearest
    // table entry to the inverted colour).
    void InvertRect(const RECT* rect);

    // 0 outside the bitmap or without one. At 1, 4 and 8 bits the pixel
    // indexes the colour table; an index past the table reads black.
    COLORREF GetPixel(int x, int y) const;
    // Returns the colour written (at 1, 4 and 8 bits the nearest table
    // entry), CLR_INVALID outside the bitmap or without one.
    COLORREF SetPixel(int x, int y, COLORREF color);

    // Copies the source rectangle (x, y counted from the bottom stored row)
    // of the bits described by `info` into the destination rectangle,
    // stretching without blending, combined by SRCCOPY, SRCAND or SRCINVERT.
    // Returns the number of destination rows the call spans; 0 on bad
    // arguments. Mirroring (negative sizes) is not supported.
    int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                      int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info,
                      UINT usage, DWORD rop);

    // Format 0 only: left, top, new lines only at '\n', clipped to the
    // rectangle. Returns the height of the text.
    int DrawText(const CString& text, RECT* rect, UINT format);

private:
    HBITMAP m_bitmap = nullptr;
    HPALETTE m_palette = nullptr;
    CFont* m_font = nullptr;
    CRect m_clip;
    int m_stretchMode = BLACKONWHITE;
    int m_bkMode = OPAQUE;
    COLORREF m_bkColor = RGB(255, 255, 255);
    COLORREF m_textColor = RGB(0, 0, 0);
    bool m_created = false;
};
