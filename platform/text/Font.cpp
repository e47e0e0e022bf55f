// CFont and the layout of DrawText's format 0.
#include "platform/text/Font.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "platform/text/FontFace.h"

namespace quillon {
namespace platform {
namespace {

constexpr int kMaxPixels = 1024;
constexpr int kDefaultPixels = 12;
constexpr BYTE kShiftJisCharset = 128;

bool HasNonAscii(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return (c & 0x80) != 0; });
}

int RoundedScale(long long value, long long numerator, long long denominator) {
    if (denominator <= 0) return static_cast<int>(value);
    return static_cast<int>((value * numerator + denominator / 2) / denominator);
}

// Resolves a request and opens the face, with its Japanese fallback. Called
// with FontMutex() held.
std::shared_ptr<FontFace> OpenFont(int height, int width, int weight, bool italic, BYTE charSet,
                                   const char* faceName) {
    FontRequest request;
    request.familyUtf8 = faceName ? ToUtf8(CString(faceName)) : std::string();
    request.bold = weight >= 600;
    request.italic = italic;
    request.needJapanese = charSet == kShiftJisCharset || HasNonAscii(request.familyUtf8);
    FontMatchResult match = MatchFont(request);

    FontFace::Design design;
    bool haveDesign = !match.file.empty() && FontFace::ReadDesign(match.file, match.index, &design);
    int em = kDefaultPixels;
    if (height < 0) {
        em = -height;
    } else if (height > 0) {
        // A positive height is the whole cell, ascender to descender.
        em = haveDesign
                 ? RoundedScale(height, design.unitsPerEm, design.ascender - design.descender)
                 : height;
    }
    em = std::clamp(em, 1, kMaxPixels);
    int x = em;
    if (width > 0) {
        // The width asked for is the average character width.
        int average = haveDesign && design.averageWidth > 0 ? design.averageWidth
                                                            : std::max(1, design.unitsPerEm / 2);
        x = haveDesign ? RoundedScale(width, design.unitsPerEm, average) : width * 2;
        x = std::clamp(x, 1, kMaxPixels);
    }

    std::shared_ptr<FontFace> face = FontFace::Open(match.file, match.index, x, em);
    if (!face->HasOutlines()) WarnNoFontsOnce();
    if (!face->fallbackChecked) {
        face->fallbackChecked = true;
        FontMatchResult fb = JapaneseFallbackFont();
        if (!fb.file.empty() && !(fb.file == match.file && fb.index == match.index)) {
            // Opened now, so that drawing never has to go to the disk.
            std::shared_ptr<FontFace> fallback = FontFace::Open(fb.file, fb.index, x, em);
            if (fallback.get() != face.get() && !fallback->file.empty()) face->fallback = fallback;
        }
    }
    return face;
}

struct Placement {
    const GlyphImage* image;
    int x;
    int y;
};

bool FitsInt(long long v) {
    return v >= INT_MIN && v <= INT_MAX;
}

// Walks the text; under the lock glyphs are looked up a batch at a time, and
// the batch is handed to `glyph` after the lock is released.
int Layout(CFont* font, const CString& text, int x, int y,
           const std::function<void(const GlyphImage&, int, int)>* glyph, int* widest) {
    if (font == nullptr || !font->IsCreated()) font = DefaultGuiFont();
    FontFace* face = font->Face();
    if (widest) *widest = 0;
    if (face == nullptr) return 0;
    std::u32string chars = ToUtf32(text);
    if (chars.empty()) return 0;

    const bool underline = font->IsUnderline();
    const bool strikeOut = font->IsStrikeOut();
    constexpr std::size_t kBatch = 64;
    Placement batch[kBatch];
    long long penX = x;
    long long lineTop = y;
    long long maxWidth = 0;
    int lines = 1;
    int ascender;
    int lineHeight;
    {
        std::lock_guard<std::mutex> lock(FontMutex());
        ascender = face->ascender;
        lineHeight = face->LineHeight();
    }
    std::size_t i = 0;
    while (i < chars.size()) {
        std::size_t count = 0;
        {
            std::lock_guard<std::mutex> lock(FontMutex());
            // Room for a glyph and its two lines.
            for (; i < chars.size() && count + 3 <= kBatch; ++i) {
                char32_t cp = chars[i];
                if (cp == U'\r') continue;
                if (cp == U'\n') {
                    maxWidth = std::max(maxWidth, penX - x);
                    penX = x;
                    lineTop += lineHeight;
                    ++lines;
                    continue;
                }
                const Glyph& g = face->GlyphFor(cp);
                long long baseline = lineTop + ascender;
                if (glyph && g.image.coverage) {
                    long long gx = penX + g.left;
                    long long gy = baseline - g.top;
                    if (FitsInt(gx) && FitsInt(gy)) {
                        batch[count++] = {&g.image, static_cast<int>(gx), static_cast<int>(gy)};
                    }
                }
                if (glyph && g.advance > 0 && (underline || strikeOut) && FitsInt(penX)) {
                    const GlyphImage& bar = face->Bar(g.advance);
                    if (underline && FitsInt(baseline + face->underlineOffset)) {
                        batch[count++] = {&bar, static_cast<int>(penX),
                                          static_cast<int>(baseline + face->underlineOffset)};
                    }
                    if (strikeOut && FitsInt(baseline - face->strikeOffset)) {
                        batch[count++] = {&bar, static_cast<int>(penX),
                                          static_cast<int>(baseline - face->strikeOffset)};
                    }
                }
                penX += g.advance;
            }
        }
        for (std::size_t k = 0; k < count; ++k) (*glyph)(*batch[k].image, batch[k].x, batch[k].y);
    }
    maxWidth = std::max(maxWidth, penX - x);
    if (widest) *widest = static_cast<int>(std::min<long long>(maxWidth, INT_MAX));
    long long height = static_cast<long long>(lines) * lineHeight;
    return static_cast<int>(std::min<long long>(height, INT_MAX));
}

}  // namespace

CFont* DefaultGuiFont() {
    static CFont* font = [] {
        auto* f = new CFont();  // lives as long as the process, like the faces
        f->CreateFont(-kDefaultPixels, 0, 0, 0, 400, 0, 0, 0, kShiftJisCharset, 0, 0, 0, 0,
                      Sjis("ＭＳ ゴシック"));
        return f;
    }();
    return font;
}

int FontLineHeight(CFont* font) {
    if (font == nullptr || !font->IsCreated()) font = DefaultGuiFont();
    if (font->Face() == nullptr) return 0;
    std::lock_guard<std::mutex> lock(FontMutex());
    return font->Face()->LineHeight();
}

int LayoutText(CFont* font, const CString& text, int x, int y,
               const std::function<void(const GlyphImage&, int x, int y)>& glyph) {
    return Layout(font, text, x, y, glyph ? &glyph : nullptr, nullptr);
}

void MeasureText(CFont* font, const CString& text, int* width, int* height) {
    int w = 0;
    int h = Layout(font, text, 0, 0, nullptr, &w);
    if (width) *width = w;
    if (height) *height = h;
}

bool GetFontInfo(CFont* font, FontInfo* info) {
    if (info == nullptr) return false;
    if (font == nullptr || !font->IsCreated()) font = DefaultGuiFont();
    FontFace* face = font->Face();
    if (face == nullptr) return false;
    std::lock_guard<std::mutex> lock(FontMutex());
    info->family = face->family;
    info->file = face->file;
    info->pixelWidth = face->xPixels;
    info->pixelHeight = face->yPixels;
    info->ascender = face->ascender;
    info->descender = face->descender;
    info->halfWidth = face->halfWidth;
    info->fullWidth = face->fullWidth;
    info->hasFallback = face->fallback != nullptr;
    return true;
}

void UseFontDirectoryForTesting(const char* directory) {
    std::lock_guard<std::mutex> lock(FontMutex());
    ResetFontMatching(directory);
    ForgetOpenFaces();
}

}  // namespace platform
}  // namespace quillon

using quillon::platform::FontMutex;

CFont::CFont() = default;
CFont::~CFont() = default;

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                       const char* faceName) {
    (void)escapement;
    (void)orientation;
    (void)outPrecision;
    (void)clipPrecision;
    (void)quality;
    (void)pitchAndFamily;
    // Compared before negating: INT_MIN has no positive counterpart.
    if (height < -quillon::platform::kMaxPixels || height > quillon::platform::kMaxPixels ||
        width < -quillon::platform::kMaxPixels || width > quillon::platform::kMaxPixels) {
        return false;
    }
    std::lock_guard<std::mutex> lock(FontMutex());
    m_face = quillon::platform::OpenFont(height, std::abs(width), weight, italic != 0, charSet,
                                         faceName);
    m_underline = underline != 0;
    m_strikeOut = strikeOut != 0;
    return m_face != nullptr;
}

void CFont::DeleteObject() {
    m_face.reset();
    m_underline = false;
    m_strikeOut = false;
}
