// Text on a drawing surface: the platform lays the glyphs out, and each
// glyph's coverage is blended here in the text colour, clipped to the
// rectangle and the clip box.
#include <algorithm>
#include <cstdint>

#include "platform/WindowSystem.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Pixels.h"
#include "platform/text/Font.h"

using namespace quillon::platform::gdi;  // NOLINT(google-build-using-namespace)
using quillon::platform::GlyphImage;

namespace {

// Text colour k over pixel c by coverage a out of 255: 255 gives k exactly,
// 0 leaves c.
inline std::uint32_t MixByCoverage255(std::uint32_t k, std::uint32_t c, std::uint32_t a) {
    return (k * a + c * (255 - a) + 127) / 255;
}

inline std::uint32_t BlendBgrx(std::uint32_t k, std::uint32_t c, std::uint32_t a) {
    return MixByCoverage255(k & 0xFF, c & 0xFF, a) |
           (MixByCoverage255((k >> 8) & 0xFF, (c >> 8) & 0xFF, a) << 8) |
           (MixByCoverage255((k >> 16) & 0xFF, (c >> 16) & 0xFF, a) << 16);
}

struct TextPass {
    CDC* dc;
    HBITMAP dib;
    CRect box;  // rectangle and clip box together
    int top;
    int lineHeight;
    std::uint32_t color;
    const ColorLut* lut;
    NearestCache* nearest;
    // Opaque background: the line being measured and its right edge.
    int line = -1;
    int lineRight = 0;
    int lineLeft = 0;
    COLORREF background = 0;

    void FlushLine() {
        if (line < 0 || lineRight <= lineLeft) return;
        CRect r(lineLeft, top + line * lineHeight, lineRight, top + (line + 1) * lineHeight);
        r.IntersectRect(&r, &box);
        dc->FillSolidRect(&r, background);
    }

    void Measure(const GlyphImage& g, int x, int y) {
        int l = lineHeight > 0 ? (y + g.height / 2 - top) / lineHeight : 0;
        if (l < 0) l = 0;
        if (l != line) {
            FlushLine();
            line = l;
            lineRight = lineLeft;
        }
        lineRight = std::max(lineRight, x + g.width);
    }

    void Blend(const GlyphImage& g, int x, int y) {
        if (!g.coverage) return;
        int x0 = std::max<int>(x, box.left), x1 = std::min<int>(x + g.width, box.right);
        int y0 = std::max<int>(y, box.top), y1 = std::min<int>(y + g.height, box.bottom);
        const int bits = dib->bitCount;
        for (int py = y0; py < y1; ++py) {
            const std::uint8_t* cov = g.coverage + static_cast<std::ptrdiff_t>(py - y) * g.pitch;
            std::uint8_t* row = dib->Row(py);
            for (int px = x0; px < x1; ++px) {
                std::uint32_t a = cov[px - x];
                if (a == 0) continue;
                if (bits == 32) {
                    auto* p = reinterpret_cast<std::uint32_t*>(row) + px;
                    *p = (*p & 0xFF000000u) | BlendBgrx(color, *p, a);
                } else {
                    std::uint32_t c = ReadBgrx(bits, row, px, *lut);
                    WriteBgrx(bits, row, px, BlendBgrx(color, c, a), nearest);
                }
            }
        }
    }
};

}  // namespace

int CDC::DrawText(const CString& text, RECT* rect, UINT /*format*/) {
    if (!rect) return 0;
    quillon::platform::NotePaintText(text);
    CFont* font = m_font ? m_font : quillon::platform::DefaultGuiFont();
    if (!m_bitmap) {
        return quillon::platform::LayoutText(font, text, rect->left, rect->top,
                                             [](const GlyphImage&, int, int) {});
    }
    ColorLut lut;
    BuildLut(m_bitmap->colors.data(), static_cast<int>(m_bitmap->colors.size()), &lut);
    NearestCache nearest(m_bitmap->colors.data(), static_cast<int>(m_bitmap->colors.size()));
    TextPass pass{this,
                  m_bitmap,
                  CRect(),
                  rect->top,
                  quillon::platform::FontLineHeight(font),
                  ColorToBgrx(m_textColor),
                  &lut,
                  &nearest};
    pass.box.IntersectRect(rect, &m_clip);
    pass.lineLeft = rect->left;
    pass.background = m_bkColor;
    if (m_bkMode == OPAQUE && !pass.box.IsRectEmpty()) {
        quillon::platform::LayoutText(
            font, text, rect->left, rect->top,
            [&pass](const GlyphImage& g, int x, int y) { pass.Measure(g, x, y); });
        pass.FlushLine();
    }
    TextPass* p = &pass;
    return quillon::platform::LayoutText(font, text, rect->left, rect->top,
                                         [p](const GlyphImage& g, int x, int y) {
                                             if (!p->box.IsRectEmpty()) p->Blend(g, x, y);
                                         });
}
