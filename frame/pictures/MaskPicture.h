// A mask picture: a one-colour shape kept as horizontal runs of coverage,
// drawn into a picture in any colour at any opacity. Icons, animation
// frames, labels and font glyphs are mask pictures.
#pragma once

#include <cstdint>

#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

class CDibPicture;

// One run: `length` pixels from (x, y) on, all with the same coverage
// (0..256, 256 opaque).
struct MaskRun {
    std::int16_t x;
    std::int16_t y;
    std::uint16_t coverage;
    std::uint16_t length;
};
static_assert(sizeof(MaskRun) == 8, "a run is 8 bytes");

class CMaskPicture {
public:
    CMaskPicture();
    CMaskPicture(const CMaskPicture& other);
    CMaskPicture& operator=(const CMaskPicture& other);
    virtual ~CMaskPicture();

    // The runs from the grey levels (red component) of a picture file; false
    // and unchanged when the file cannot be loaded as a picture.
    bool Load(CString path);
    // Why the last Load of any mask picture failed; empty after a success.
    static const char* LastLoadError();
    void SetColor(COLORREF color) { m_color = color & 0xFFFFFF; }
    // 0..256 (values outside are clamped).
    bool SetOpacity(int opacity);
    // Blends the shape into the target with its top-left corner at (x, y).
    bool Draw(CDibPicture* target, int x, int y);
    bool DrawAligned(CDibPicture* target, int left, int top, int right, int bottom, int halign,
                     int valign);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    COLORREF GetColor() const { return m_color; }
    int GetOpacity() const { return m_nOpacity; }
    const CArray<MaskRun>& GetRuns() const { return m_runs; }

private:
    int m_nWidth = 0;
    int m_nHeight = 0;
    COLORREF m_color = 0xFFFFFF;
    int m_nOpacity = 256;
    CArray<MaskRun> m_runs;
};

namespace quillon {
namespace pictures {

// Blends `length` pixels from (x, y) of the target towards `color` by
// w / 256 (each component c becomes c + (k - c) * w / 256, truncated toward
// zero). At 16, 24 and 32 bits the run is cut to the target's clip
// rectangle; at other depths it goes through GetPixel/SetPixel, which only
// skip pixels outside the picture.
void BlendRun(CDibPicture* target, std::int64_t x, std::int64_t y, std::int64_t length, int w,
              COLORREF color);

}  // namespace pictures
}  // namespace quillon

// Top-left position of a w x h box in the rectangle. halign 0 centres, 1
// left, 2 right; valign 0 centres, 1 top, 2 bottom. Other codes act as left
// and top.
CPoint GetAlignedPos(int w, int h, int left, int top, int right, int bottom, int halign,
                     int valign);
// White when red + green + blue is below 250, else black.
COLORREF GetContrastColor(COLORREF color);
// Blends the colour over the rectangle with a weight w applied twice (as
// coverage and as opacity): an effective factor of w * w / 256. Nothing when
// fill is false.
bool FillTranslucent(CDibPicture* target, int left, int top, int right, int bottom, COLORREF color,
                     int weight, bool fill);
