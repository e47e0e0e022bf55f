#include "frame/pictures/BitmapFont.h"

#include <algorithm>
#include <cstdint>

#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"

namespace {

constexpr int kMissingGlyphSize = 16;

CString CharacterName(int code) {
    if (code >= '0' && code <= '9') return CString(static_cast<char>(code));
    if (code == '/') return CString("slash");
    return CString();
}

}  // namespace

// The 244 codes with the empty name all read the same file: it is loaded
// once and the slots share it, so a large glyph costs its memory once.
CBitmapFont::CBitmapFont(const CString& prefix) {
    m_glyphs.SetSize(256);
    CMaskPicture* shared = nullptr;
    bool sharedTried = false;
    for (int code = 0; code < 256; ++code) {
        CString name = CharacterName(code);
        if (name.IsEmpty()) {
            if (!sharedTried) {
                sharedTried = true;
                auto* glyph = new CMaskPicture;
                if (glyph->Load(GlyphFile(prefix, static_cast<BYTE>(code))))
                    shared = glyph;
                else
                    delete glyph;
            }
            m_glyphs[code] = shared;
            continue;
        }
        auto* glyph = new CMaskPicture;
        if (glyph->Load(GlyphFile(prefix, static_cast<BYTE>(code)))) {
            m_glyphs[code] = glyph;
        } else {
            delete glyph;
            m_glyphs[code] = nullptr;
        }
    }
}

CString CBitmapFont::GlyphFile(const CString& prefix, BYTE code) {
    return prefix + CharacterName(code) + ".bmp";
}

CBitmapFont::~CBitmapFont() {
    // Each glyph once, however many slots share it.
    for (int code = 0; code < m_glyphs.GetSize(); ++code) {
        void* glyph = m_glyphs[code];
        if (!glyph) continue;
        for (int later = code + 1; later < m_glyphs.GetSize(); ++later) {
            if (m_glyphs[later] == glyph) m_glyphs[later] = nullptr;
        }
        delete static_cast<CMaskPicture*>(glyph);
        m_glyphs[code] = nullptr;
    }
}

CMaskPicture* CBitmapFont::GetGlyph(BYTE code) const {
    return static_cast<CMaskPicture*>(m_glyphs[code]);
}

bool CBitmapFont::DrawString(CDibPicture* target, COLORREF color, const CString& text,
                             const RECT& rect, int halign, int valign) {
    // Measured in 64 bits: a long text of wide glyphs must not wrap around.
    std::int64_t width = 0;
    int height = 0;
    const int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        CMaskPicture* glyph = GetGlyph(static_cast<BYTE>(text[i]));
        width += glyph ? glyph->GetWidth() : kMissingGlyphSize;
        height = std::max(height, glyph ? glyph->GetHeight() : kMissingGlyphSize);
    }
    width = std::min<std::int64_t>(width, 0x3FFFFFFF);
    CPoint pos = GetAlignedPos(static_cast<int>(width), height, rect.left, rect.top, rect.right,
                               rect.bottom, halign, valign);
    std::int64_t x = pos.x;
    for (int i = 0; i < length; ++i) {
        // Past the target's right edge nothing more can show.
        if (x >= target->GetSize().cx) break;
        CMaskPicture* glyph = GetGlyph(static_cast<BYTE>(text[i]));
        if (glyph) {
            glyph->SetColor(color);
            glyph->Draw(target, static_cast<int>(x), pos.y);
            x += glyph->GetWidth();
        } else {
            if (CDC* dc = target->GetMemDC()) {
                CBrush brush(color);
                CRect frame(static_cast<int>(x), pos.y, static_cast<int>(x) + kMissingGlyphSize,
                            pos.y + kMissingGlyphSize);
                dc->FrameRect(&frame, &brush);
            }
            x += kMissingGlyphSize;
        }
    }
    return true;
}
