// A picture: a device-independent bitmap with its own memory context, an
// optional palette and an optional 1-bit transparency mask. Every picture
// the screen composes into or draws from is one of these.
#pragma once

#include <cstdint>
#include <memory>

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>
#include <quillon/platform/Window.h>

#include "platform/gdi/DC.h"

class CDibPicture : public CObject {
public:
    CDibPicture();
    ~CDibPicture() override;
    CDibPicture(const CDibPicture&) = delete;
    CDibPicture& operator=(const CDibPicture&) = delete;

    // Called after every successful Create and Load.
    virtual void OnCreated();

    // A blank (black) picture. A width below 1 takes the screen's size (the
    // height is then ignored), a bit count below 1 the screen's depth. False
    // for a bit count other than 1, 4, 8, 16, 24 and 32 or a size past the
    // picture cap.
    bool Create(int width, int height, int bitCount);
    // BMP (read here), GIF (transparency found by two renders) or any format
    // the platform decoder knows. False, and no image, when it cannot be read.
    bool Load(CString path);
    // Why the last Load of any picture was refused, in words a skin author
    // can act on; empty after a load that worked.
    static const char* LastLoadError();
    void Release();
    void Fill(BYTE value);
    CSize GetSize() const;

    // Top-down coordinates. 0 / false when not loaded or outside.
    COLORREF GetPixel(int x, int y) const;
    bool SetPixel(int x, int y, COLORREF color);

    // The clip rectangle is the given one cut to the picture; false (and an
    // empty clip rectangle) when nothing is left.
    bool SetClipRect(int left, int top, int right, int bottom);
    // Scales every component by percent / 100, clamped to 0..255.
    bool SetBrightness(int percent);

    // Copies the whole picture with its top-left corner at (x, y) of the
    // target, limited to the target's clip rectangle.
    bool DrawTo(CDibPicture* target, int x, int y);
    // Draws the source part scaled into the destination rectangle of the
    // target, limited to the target's clip rectangle.
    bool StretchTo(CDibPicture* target, const RECT& dest, const RECT& source);
    // Draws onto a device context; the size defaults to the picture's and
    // the source rectangle to the whole picture.
    bool Draw(CDC* dc, int x, int y, const CSize* size = nullptr, const RECT* source = nullptr);

    bool IsLoaded() const { return m_bLoaded; }
    int GetColorCount() const { return m_nColors; }
    int GetStride() const { return m_nStride; }
    int GetBitCount() const { return m_pBitmapInfo ? m_pBitmapInfo->bmiHeader.biBitCount : 0; }
    const BITMAPINFO* GetBitmapInfo() const { return m_pBitmapInfo.get(); }
    CDC* GetMemDC() const { return m_pMemDC.get(); }
    BYTE* GetBits() const { return m_pBits; }
    HPALETTE GetPalette() const { return m_hPalette; }
    CDibPicture* GetMask() const { return m_pMask.get(); }
    const RECT& GetClipRect() const { return m_rcClip; }
    // The stored row of a top-down y (no range check).
    BYTE* GetRow(int y) const {
        return m_pBits + static_cast<std::ptrdiff_t>(GetSize().cy - 1 - y) * m_nStride;
    }

private:
    // The information block (header and a 256-entry table), made on first
    // use; null when memory runs out.
    BITMAPINFO* InfoBlock();
    bool MakeBlank(int width, int height, int bitCount);
    bool LoadBmp(const CString& path);
    bool LoadGif(const CString& path);
    bool LoadWithPlatform(const CString& path, BYTE fill);
    void BuildPalette();
    void ClipToWhole();
    void DrawOnto(CDC* dc, const RECT& dest, const RECT& source) const;

    bool m_bLoaded = false;
    int m_nColors = 0;
    int m_nStride = 0;
    std::unique_ptr<BITMAPINFO> m_pBitmapInfo;
    std::unique_ptr<CDC> m_pMemDC;
    BYTE* m_pBits = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HPALETTE m_hPalette = nullptr;
    std::unique_ptr<CDibPicture> m_pMask;
    RECT m_rcClip{0, 0, 0, 0};
};

// Colour table entries implied by a bit count: 2, 16, 256, 0 for true
// colour, -1 for a depth pictures do not have.
int DibColorCount(int bitCount);
