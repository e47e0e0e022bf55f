// A FreeType face at one pixel size with the glyphs it has rendered. Faces
// live for the rest of the process once opened (fonts come and go with the
// items that draw, their glyphs should not), so glyph coverage pointers stay
// valid for as long as anyone can hold them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text/Font.h"

namespace quillon {
namespace platform {

struct Glyph {
    GlyphImage image;
    int left = 0;     // from the pen position to the first column
    int top = 0;      // from the baseline up to the first row
    int advance = 0;  // pen movement in pixels
    bool missing = false;
};

// The file a face came from, read into memory once so that rendering never
// goes back to the disk; shared by every size of the same file.
struct FontFile;

struct FontFace {
    ~FontFace();

    std::string file;  // empty for the box-only face used when no font exists
    int index = 0;
    int xPixels = 0;
    int yPixels = 0;
    std::string family;

    int ascender = 0;   // pixels above the baseline (positive)
    int descender = 0;  // pixels below it (negative)
    int halfWidth = 0;
    int fullWidth = 0;
    int underlineOffset = 0;  // rows below the baseline
    int strikeOffset = 0;     // rows above the baseline
    int lineThickness = 1;

    // Where a character this face lacks is looked for before a box is drawn.
    std::shared_ptr<FontFace> fallback;
    bool fallbackChecked = false;

    int LineHeight() const { return ascender - descender; }
    // False for the box-only face.
    bool HasOutlines() const { return m_ft != nullptr; }

    // The glyph for a code point: rendered on first use and kept.
    const Glyph& GlyphFor(char32_t cp);
    // A solid bar `width` pixels long (underline and strike-out).
    const GlyphImage& Bar(int width);

    // Opens `file` (face `index`) at the given pixel size; a face that cannot be
    // opened becomes the box-only face of that size.
    static std::shared_ptr<FontFace> Open(const std::string& file, int index, int xPixels,
                                          int yPixels);

    // The face's design metrics in font units, to turn a cell height or an
    // average character width into pixel sizes. False when it cannot be read.
    struct Design {
        int unitsPerEm = 0;
        int ascender = 0;
        int descender = 0;
        int averageWidth = 0;  // 0 when the face does not say
    };
    static bool ReadDesign(const std::string& file, int index, Design* design);

private:
    Glyph Render(char32_t cp);
    Glyph Box(char32_t cp);
    const std::uint8_t* Store(const std::vector<std::uint8_t>& coverage);
    void SetMetricsWithoutFace();

    std::shared_ptr<FontFile> m_file;
    void* m_ft = nullptr;  // FT_Face
    std::array<Glyph, 128> m_ascii{};
    std::array<bool, 128> m_asciiReady{};
    std::unordered_map<char32_t, Glyph> m_glyphs;
    std::unordered_map<int, GlyphImage> m_bars;
    std::unordered_map<int, Glyph> m_boxes;  // by advance
    // Coverage of every glyph, in large blocks that never move.
    std::vector<std::unique_ptr<std::uint8_t[]>> m_blocks;
    std::size_t m_blockUsed = 0;
    std::size_t m_blockSize = 0;
};

// Serialises every use of the font machinery (FreeType library, fontconfig,
// face caches).
std::mutex& FontMutex();

// Resolution of requested faces with fontconfig (FontMatch.cpp). Callers hold
// FontMutex().
struct FontRequest {
    std::string familyUtf8;  // empty: the default face
    bool bold = false;
    bool italic = false;
    bool needJapanese = false;
};
struct FontMatchResult {
    std::string file;  // empty when nothing could be found
    int index = 0;
    bool hasJapanese = false;
};
FontMatchResult MatchFont(const FontRequest& request);
// The face used for characters the selected face lacks; empty file when no
// installed face covers Japanese (after one warning on stderr).
FontMatchResult JapaneseFallbackFont();
// Says once per process that there is no face at all.
void WarnNoFontsOnce();

// Testing hooks behind UseFontDirectoryForTesting: fontconfig starts over
// (FontMatch.cpp) and faces opened so far are no longer handed out, though
// they stay alive (FontFace.cpp).
void ResetFontMatching(const char* fontDirectory);
void ForgetOpenFaces();

}  // namespace platform
}  // namespace quillon
