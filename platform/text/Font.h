// Fonts: a requested face and height mapped to an installed face, glyphs
// rendered once and cached, and the layout of DrawText's format 0.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <quillon/platform/CString.h>
#include <quillon/platform/Types.h>

namespace quillon {
namespace platform {
struct FontFace;
}
}  // namespace quillon

class CFont {
public:
    CFont();
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // The framework's fourteen arguments; the face name is Shift-JIS. A
    // negative height is the character height in pixels, a positive one the
    // cell height; 0 picks a default size.
    bool CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                    BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, const char* faceName);
    void DeleteObject();
    bool IsCreated() const { return m_face != nullptr; }
    quillon::platform::FontFace* Face() const { return m_face.get(); }

private:
    std::shared_ptr<quillon::platform::FontFace> m_face;
};

namespace quillon {
namespace platform {

// One rendered glyph: 8-bit coverage rows (0 none .. 255 full), `pitch`
// bytes apart, top row first.
struct GlyphImage {
    int width = 0;
    int height = 0;
    int pitch = 0;
    const std::uint8_t* coverage = nullptr;
};

// The font used when none is selected into a drawing surface.
CFont* DefaultGuiFont();

// Line height in pixels (ascender - descender, as DrawText advances lines).
int FontLineHeight(CFont* font);

// Lays out Shift-JIS text as DrawText's format 0 does: left-aligned from
// (x, y) (the top of the first line), a new line only at '\n' ("\r\n" counts
// as one break). Calls `glyph` for each visible glyph with the position of
// its top-left pixel. A character the face cannot show is drawn as a box.
// Returns the height of the laid-out text.
int LayoutText(CFont* font, const CString& text, int x, int y,
               const std::function<void(const GlyphImage&, int x, int y)>& glyph);

}  // namespace platform
}  // namespace quillon
