// Fonts: a requested face and height mapped to an installed face, glyphs
// rendered once and cached, and the layout of DrawText's format 0.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

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
    //
    // The face comes from fontconfig. A Japanese request (character set 128,
    // or a Japanese face name) gets a face that covers Japanese: "ＭＳ ゴシック"
    // is IPAGothic, then Noto Sans CJK JP, then any face with Japanese. Weight
    // 600 and above asks for bold and italic for an italic face; without one
    // the regular face is used. Underline and strike-out are drawn; escapement
    // and orientation are not supported (text is always horizontal); the
    // precision, quality and pitch arguments do not matter here. Sizes are
    // limited to 1024 pixels: larger ones, either way, fail and leave the font
    // as it was. When no usable font is installed at all the font still works
    // and draws boxes (after one warning on stderr).
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const char* faceName);
    void DeleteObject();
    bool IsCreated() const { return m_face != nullptr; }
    quillon::platform::FontFace* Face() const { return m_face.get(); }
    bool IsUnderline() const { return m_underline; }
    bool IsStrikeOut() const { return m_strikeOut; }

private:
    std::shared_ptr<quillon::platform::FontFace> m_face;
    bool m_underline = false;
    bool m_strikeOut = false;
};

namespace quillon {
namespace platform {

// One rendered glyph: 8-bit coverage rows (0 none .. 255 full), `pitch`
// bytes apart, top row first. Glyphs are cached: the coverage stays valid
// for the life of the process.
struct GlyphImage {
    int width = 0;
    int height = 0;
    int pitch = 0;
    const std::uint8_t* coverage = nullptr;
};

// The font used when none is selected into a drawing surface: a Japanese
// gothic at 12 pixels when one is installed.
CFont* DefaultGuiFont();

// Line height in pixels (ascender - descender, as DrawText advances lines).
int FontLineHeight(CFont* font);

// Lays out Shift-JIS text as DrawText's format 0 does: left-aligned from
// (x, y) (the top of the first line), a new line only at '\n' ("\r\n" counts
// as one break). Calls `glyph` for each visible glyph with the position of
// its top-left pixel. A character the face cannot show is drawn as a box.
// Returns the height of the laid-out text.
//
// Details: a null or never-created font means DefaultGuiFont(). The baseline
// of a line lies `ascender` pixels below its top and lines are
// FontLineHeight() apart. A character missing from the face is looked up in
// the Japanese fallback face before it becomes a hollow box (half or full
// width as the character is narrow or wide); bytes that are not Shift-JIS
// become boxes too. A lone '\r' and other control characters take no room.
// The height is lines x line height, 0 for empty text. `glyph` may be empty
// (measuring only); it is never called with the font machinery locked, so it
// may itself lay out text.
int LayoutText(CFont* font, const CString& text, int x, int y,
               const std::function<void(const GlyphImage&, int x, int y)>& glyph);

// Size of the laid-out text: the widest line's advance and LayoutText's height.
void MeasureText(CFont* font, const CString& text, int* width, int* height);

// What a font resolved to (for diagnostics and tests).
struct FontInfo {
    std::string family;  // e.g. "IPAGothic"; empty when no face could be opened
    std::string file;
    int pixelWidth = 0;        // em width in pixels
    int pixelHeight = 0;       // em height in pixels
    int ascender = 0;          // pixels above the baseline
    int descender = 0;         // pixels below it, negative
    int halfWidth = 0;         // advance of a box for a narrow character
    int fullWidth = 0;         // advance of a box for a wide one
    bool hasFallback = false;  // a Japanese face backs up missing characters
};
bool GetFontInfo(CFont* font, FontInfo* info);

// Glyph renders so far in this process; a cache hit renders nothing.
std::uint64_t GlyphRenderCount();

// For tests: from now on fontconfig sees only the fonts in `directory` (null
// restores the system's fonts); fonts created afterwards resolve again and
// the missing-font warnings are given again. Fonts created before keep their
// faces.
void UseFontDirectoryForTesting(const char* directory);

}  // namespace platform
}  // namespace quillon
