// FreeType faces and their glyph caches.
#include "platform/text/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

namespace quillon {
namespace platform {

struct FontFile {
    std::vector<unsigned char> bytes;
};

namespace {

// Larger font files than this are not read into memory (the largest CJK
// collections are about 20 MB).
constexpr long kMaxFontFileBytes = 128L * 1024 * 1024;
constexpr std::size_t kBlockBytes = 64 * 1024;

std::atomic<std::uint64_t> g_renders{0};

FT_Library Library() {
    static FT_Library library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
    }
    return library;
}

using FaceKey = std::tuple<std::string, int, int, int>;

// Faces are never closed: glyph coverage handed out stays valid, and fonts
// created again later find their glyphs already rendered. Deliberately leaked
// so that no destructor runs after FreeType's at exit.
std::map<FaceKey, std::shared_ptr<FontFace>>& Faces() {
    static auto* faces = new std::map<FaceKey, std::shared_ptr<FontFace>>();
    return *faces;
}
std::vector<std::shared_ptr<FontFace>>& ForgottenFaces() {
    static auto* faces = new std::vector<std::shared_ptr<FontFace>>();
    return *faces;
}

std::shared_ptr<FontFile> ReadFontFile(const std::string& path) {
    // Kept like the faces: a font file is read once per process.
    static auto* files = new std::map<std::string, std::shared_ptr<FontFile>>();
    auto it = files->find(path);
    if (it != files->end()) return it->second;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return nullptr;
    std::shared_ptr<FontFile> file;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long size = std::ftell(f);
        if (size > 0 && size <= kMaxFontFileBytes && std::fseek(f, 0, SEEK_SET) == 0) {
            auto candidate = std::make_shared<FontFile>();
            candidate->bytes.resize(static_cast<std::size_t>(size));
            if (std::fread(candidate->bytes.data(), 1, candidate->bytes.size(), f) ==
                candidate->bytes.size()) {
                file = candidate;
            }
        }
    }
    std::fclose(f);
    if (file) (*files)[path] = file;
    return file;
}

// Characters that take two columns in a Japanese text; a box for one of them
// is drawn full width.
bool IsWide(char32_t cp) {
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
           (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xE000 && cp <= 0xFAFF) ||
           (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
           (cp >= 0xFFE0 && cp <= 0xFFE6) || cp == 0xFFFD || (cp >= 0x20000 && cp <= 0x3FFFD) ||
           (cp >= 0xF0000 && cp <= 0x10FFFF);
}

bool IsControl(char32_t cp) {
    return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0);
}

int CeilPixels(FT_Pos v) {
    return static_cast<int>((v + 63) >> 6);
}
int FloorPixels(FT_Pos v) {
    return static_cast<int>(v >> 6);
}  // arithmetic shift floors
int RoundPixels(FT_Pos v) {
    return static_cast<int>((v + 32) >> 6);
}

}  // namespace

std::mutex& FontMutex() {
    static std::mutex mutex;
    return mutex;
}

std::uint64_t GlyphRenderCount() {
    return g_renders.load();
}

void ForgetOpenFaces() {
    for (auto& entry : Faces()) ForgottenFaces().push_back(entry.second);
    Faces().clear();
}

FontFace::~FontFace() {
    if (m_ft) FT_Done_Face(static_cast<FT_Face>(m_ft));
}

void FontFace::SetMetricsWithoutFace() {
    // Proportions of a Japanese gothic: 11 px gives 10 above and 2 below.
    ascender = (yPixels * 88 + 99) / 100;
    descender = -((yPixels * 12 + 99) / 100);
    halfWidth = (xPixels + 1) / 2;
    fullWidth = xPixels;
    underlineOffset = std::max(1, -descender / 2);
    strikeOffset = std::max(1, ascender * 3 / 10);
    lineThickness = std::max(1, yPixels / 14);
}

std::shared_ptr<FontFace> FontFace::Open(const std::string& file, int index, int xPixels,
                                         int yPixels) {
    FaceKey key(file, index, xPixels, yPixels);
    auto& faces = Faces();
    auto it = faces.find(key);
    if (it != faces.end()) return it->second;

    auto face = std::make_shared<FontFace>();
    face->file = file;
    face->index = index;
    face->xPixels = std::max(1, xPixels);
    face->yPixels = std::max(1, yPixels);
    face->SetMetricsWithoutFace();

    FT_Library library = file.empty() ? nullptr : Library();
    std::shared_ptr<FontFile> data = library ? ReadFontFile(file) : nullptr;
    FT_Face ft = nullptr;
    if (data && FT_New_Memory_Face(library, data->bytes.data(),
                                   static_cast<FT_Long>(data->bytes.size()), index, &ft) != 0) {
        ft = nullptr;
    }
    if (ft) {
        FT_Error err = FT_Set_Pixel_Sizes(ft, static_cast<FT_UInt>(face->xPixels),
                                          static_cast<FT_UInt>(face->yPixels));
        if (err != 0 && ft->num_fixed_sizes > 0) {
            // A bitmap-only face: take the strike nearest the requested height.
            int best = 0;
            for (int i = 1; i < ft->num_fixed_sizes; ++i) {
                if (std::abs(ft->available_sizes[i].height - face->yPixels) <
                    std::abs(ft->available_sizes[best].height - face->yPixels)) {
                    best = i;
                }
            }
            err = FT_Select_Size(ft, best);
        }
        if (err != 0) {
            FT_Done_Face(ft);
            ft = nullptr;
        }
    }
    if (ft) {
        const FT_Size_Metrics& m = ft->size->metrics;
        int asc = CeilPixels(m.ascender);
        int desc = FloorPixels(m.descender);
        if (asc > 0 && asc - desc > 0 && asc - desc <= 4 * face->yPixels + 16) {
            face->ascender = asc;
            face->descender = desc;
        }
        if (FT_IS_SCALABLE(ft)) {
            int pos = RoundPixels(FT_MulFix(ft->underline_position, m.y_scale));
            int thick = RoundPixels(FT_MulFix(ft->underline_thickness, m.y_scale));
            face->underlineOffset = std::clamp(-pos, 1, std::max(1, -face->descender));
            face->lineThickness = std::clamp(thick, 1, std::max(1, face->yPixels / 4));
        }
        face->family = ft->family_name ? ft->family_name : "";
        face->m_ft = ft;
        face->m_file = data;
    }
    faces.emplace(key, face);
    return face;
}

bool FontFace::ReadDesign(const std::string& file, int index, Design* design) {
    FT_Library library = file.empty() ? nullptr : Library();
    std::shared_ptr<FontFile> data = library ? ReadFontFile(file) : nullptr;
    FT_Face ft = nullptr;
    if (!data || FT_New_Memory_Face(library, data->bytes.data(),
                                    static_cast<FT_Long>(data->bytes.size()), index, &ft) != 0) {
        return false;
    }
    bool ok = FT_IS_SCALABLE(ft) && ft->units_per_EM > 0 && ft->ascender - ft->descender > 0;
    if (ok) {
        design->unitsPerEm = ft->units_per_EM;
        design->ascender = ft->ascender;
        design->descender = ft->descender;
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        design->averageWidth = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : 0;
    }
    FT_Done_Face(ft);
    return ok;
}

const std::uint8_t* FontFace::Store(const std::vector<std::uint8_t>& coverage) {
    std::size_t n = coverage.size();
    if (n == 0) return nullptr;
    if (m_blocks.empty() || m_blockUsed + n > m_blockSize) {
        m_blockSize = std::max(kBlockBytes, n);
        m_blocks.emplace_back(new std::uint8_t[m_blockSize]);
        m_blockUsed = 0;
    }
    std::uint8_t* p = m_blocks.back().get() + m_blockUsed;
    std::copy(coverage.begin(), coverage.end(), p);
    m_blockUsed += n;
    return p;
}

const Glyph& FontFace::GlyphFor(char32_t cp) {
    if (cp < 128) {
        if (!m_asciiReady[cp]) {
            m_ascii[cp] = Render(cp);
            m_asciiReady[cp] = true;
        }
        return m_ascii[cp];
    }
    auto it = m_glyphs.find(cp);
    if (it != m_glyphs.end()) return it->second;
    return m_glyphs.emplace(cp, Render(cp)).first->second;
}

Glyph FontFace::Box(char32_t cp) {
    int advance = IsWide(cp) ? fullWidth : halfWidth;
    auto it = m_boxes.find(advance);
    if (it != m_boxes.end()) return it->second;
    Glyph g;
    g.missing = true;
    g.advance = advance;
    int w = std::max(1, advance - 1);
    int h = std::max(1, ascender - 1);
    std::vector<std::uint8_t> cov(static_cast<std::size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            if (edge) cov[static_cast<std::size_t>(y) * w + x] = 255;
        }
    }
    g.image.width = w;
    g.image.height = h;
    g.image.pitch = w;
    g.image.coverage = Store(cov);
    g.left = 0;
    g.top = h;
    m_boxes.emplace(advance, g);
    return g;
}

const GlyphImage& FontFace::Bar(int width) {
    auto it = m_bars.find(width);
    if (it != m_bars.end()) return it->second;
    GlyphImage bar;
    if (width > 0) {
        std::vector<std::uint8_t> cov(static_cast<std::size_t>(width) * lineThickness, 255);
        bar.width = width;
        bar.height = lineThickness;
        bar.pitch = width;
        bar.coverage = Store(cov);
    }
    return m_bars.emplace(width, bar).first->second;
}

Glyph FontFace::Render(char32_t cp) {
    if (IsControl(cp)) return Glyph();  // invisible and takes no room
    auto ft = static_cast<FT_Face>(m_ft);
    FT_UInt index = (ft && cp != 0xFFFD) ? FT_Get_Char_Index(ft, cp) : 0;
    if (index == 0) {
        if (fallback && cp != 0xFFFD) {
            const Glyph& g = fallback->GlyphFor(cp);
            if (!g.missing) return g;
        }
        return Box(cp);
    }
    if (FT_Load_Glyph(ft, index, FT_LOAD_DEFAULT | FT_LOAD_RENDER) != 0) return Box(cp);
    g_renders.fetch_add(1);
    FT_GlyphSlot slot = ft->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    Glyph g;
    g.advance = RoundPixels(slot->advance.x);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    int w = static_cast<int>(bm.width);
    int h = static_cast<int>(bm.rows);
    if (w <= 0 || h <= 0) return g;  // a space: room, no ink
    // A glyph far larger than its size is a broken font; show a box instead.
    if (w > 4 * std::max(xPixels, yPixels) + 64 || h > 4 * std::max(xPixels, yPixels) + 64) {
        return Box(cp);
    }
    std::vector<std::uint8_t> cov(static_cast<std::size_t>(w) * h);
    // A negative pitch means rows are stored bottom first.
    const unsigned char* top =
        bm.pitch < 0 ? bm.buffer - static_cast<std::ptrdiff_t>(bm.pitch) * (h - 1) : bm.buffer;
    for (int y = 0; y < h; ++y) {
        const unsigned char* src = top + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        std::uint8_t* dst = cov.data() + static_cast<std::size_t>(y) * w;
        switch (bm.pixel_mode) {
            case FT_PIXEL_MODE_GRAY: {
                int grays = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
                for (int x = 0; x < w; ++x) {
                    dst[x] = grays == 255
                                 ? src[x]
                                 : static_cast<std::uint8_t>(std::min(255, src[x] * 255 / grays));
                }
                break;
            }
            case FT_PIXEL_MODE_MONO:
                for (int x = 0; x < w; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                break;
            default:
                return Box(cp);
        }
    }
    g.image.width = w;
    g.image.height = h;
    g.image.pitch = w;
    g.image.coverage = Store(cov);
    return g;
}

}  // namespace platform
}  // namespace quillon
