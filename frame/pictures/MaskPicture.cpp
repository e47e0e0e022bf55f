#include "frame/pictures/MaskPicture.h"

#include <algorithm>

#include "frame/pictures/DibPicture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline int BlendComponent(int c, int k, int w) { return c + (k - c) * w / 256; }

// Partial coverage into 32-bit pixels. (k - c) * w / 256 truncates toward
// zero, so it is computed as the magnitude |k - c| * w >> 8 with the sign
// put back; |k - c| * w is below 65536, so 16-bit lanes hold it exactly.
void Blend32(std::uint32_t* p, int n, std::uint32_t kbgr, int w) {
    const int kb = kbgr & 0xFF, kg = (kbgr >> 8) & 0xFF, kr = (kbgr >> 16) & 0xFF;
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i k = _mm_setr_epi16(static_cast<short>(kb), static_cast<short>(kg),
                                     static_cast<short>(kr), 0, static_cast<short>(kb),
                                     static_cast<short>(kg), static_cast<short>(kr), 0);
    // The fourth byte gets weight 0 and so stays as it was.
    const __m128i wv = _mm_setr_epi16(static_cast<short>(w), static_cast<short>(w),
                                      static_cast<short>(w), 0, static_cast<short>(w),
                                      static_cast<short>(w), static_cast<short>(w), 0);
    auto blend8 = [&](__m128i c) {
        __m128i d = _mm_sub_epi16(k, c);
        __m128i sign = _mm_srai_epi16(d, 15);
        __m128i mag = _mm_sub_epi16(_mm_xor_si128(d, sign), sign);
        __m128i q = _mm_srli_epi16(_mm_mullo_epi16(mag, wv), 8);
        return _mm_add_epi16(c, _mm_sub_epi16(_mm_xor_si128(q, sign), sign));
    };
    for (; i + 4 <= n; i += 4) {
        __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        __m128i lo = blend8(_mm_unpacklo_epi8(px, zero));
        __m128i hi = blend8(_mm_unpackhi_epi8(px, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) {
        std::uint32_t v = p[i];
        int b = BlendComponent(v & 0xFF, kb, w);
        int g = BlendComponent((v >> 8) & 0xFF, kg, w);
        int r = BlendComponent((v >> 16) & 0xFF, kr, w);
        p[i] = (v & 0xFF000000u) | (static_cast<std::uint32_t>(r) << 16) |
               (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
    }
}

void Solid32(std::uint32_t* p, int n, std::uint32_t kbgr) {
    for (int i = 0; i < n; ++i) p[i] = (p[i] & 0xFF000000u) | kbgr;
}

void Blend24(BYTE* p, int n, int kb, int kg, int kr, int w) {
    for (int i = 0; i < n; ++i, p += 3) {
        p[0] = static_cast<BYTE>(BlendComponent(p[0], kb, w));
        p[1] = static_cast<BYTE>(BlendComponent(p[1], kg, w));
        p[2] = static_cast<BYTE>(BlendComponent(p[2], kr, w));
    }
}

// 5-bit units; bit 15 stays.
void Blend16(BYTE* p, int n, int kb, int kg, int kr, int w) {
    for (int i = 0; i < n; ++i, p += 2) {
        unsigned v = p[0] | (p[1] << 8);
        int r = BlendComponent(static_cast<int>((v >> 10) & 31), kr, w);
        int g = BlendComponent(static_cast<int>((v >> 5) & 31), kg, w);
        int b = BlendComponent(static_cast<int>(v & 31), kb, w);
        v = (v & 0x8000u) | (static_cast<unsigned>(r) << 10) | (static_cast<unsigned>(g) << 5) |
            static_cast<unsigned>(b);
        p[0] = static_cast<BYTE>(v);
        p[1] = static_cast<BYTE>(v >> 8);
    }
}

}  // namespace

namespace quillon {
namespace pictures {

void BlendRun(CDibPicture* target, std::int64_t x, std::int64_t y, std::int64_t length, int w,
              COLORREF color) {
    if (w <= 0 || length <= 0) return;
    if (w > 256) w = 256;
    const int bits = target->GetBitCount();
    const int kr = GetRValue(color), kg = GetGValue(color), kb = GetBValue(color);
    if (bits == 16 || bits == 24 || bits == 32) {
        const RECT& clip = target->GetClipRect();
        if (y < clip.top || y >= clip.bottom) return;
        std::int64_t x0 = std::max<std::int64_t>(x, clip.left);
        std::int64_t x1 = std::min<std::int64_t>(x + length, clip.right);
        if (x0 >= x1) return;
        const int n = static_cast<int>(x1 - x0);
        BYTE* row = target->GetRow(static_cast<int>(y));
        if (bits == 32) {
            auto* p = reinterpret_cast<std::uint32_t*>(row) + x0;
            std::uint32_t kbgr = (static_cast<std::uint32_t>(kr) << 16) |
                                 (static_cast<std::uint32_t>(kg) << 8) |
                                 static_cast<std::uint32_t>(kb);
            if (w == 256)
                Solid32(p, n, kbgr);
            else
                Blend32(p, n, kbgr, w);
        } else if (bits == 24) {
            Blend24(row + 3 * x0, n, kb, kg, kr, w);
        } else {
            Blend16(row + 2 * x0, n, kb >> 3, kg >> 3, kr >> 3, w);
        }
        return;
    }
    // Other depths pixel by pixel; pixels outside the picture are skipped by
    // GetPixel and SetPixel themselves.
    CSize size = target->GetSize();
    if (y < 0 || y >= size.cy) return;
    std::int64_t x0 = std::max<std::int64_t>(x, 0);
    std::int64_t x1 = std::min<std::int64_t>(x + length, size.cx);
    for (std::int64_t px = x0; px < x1; ++px) {
        COLORREF c = target->GetPixel(static_cast<int>(px), static_cast<int>(y));
        target->SetPixel(static_cast<int>(px), static_cast<int>(y),
                         RGB(BlendComponent(GetRValue(c), kr, w),
                             BlendComponent(GetGValue(c), kg, w),
                             BlendComponent(GetBValue(c), kb, w)));
    }
}

}  // namespace pictures
}  // namespace quillon

CMaskPicture::CMaskPicture() = default;
CMaskPicture::CMaskPicture(const CMaskPicture& other) = default;
CMaskPicture& CMaskPicture::operator=(const CMaskPicture& other) = default;
CMaskPicture::~CMaskPicture() = default;

bool CMaskPicture::Load(CString path) {
    CDibPicture picture;
    if (!picture.Load(path)) return false;
    CSize size = picture.GetSize();
    // Run positions and lengths are 16-bit; the picture cap keeps every
    // side well inside that.
    if (size.cx > 32767 || size.cy > 32767) return false;
    m_nWidth = size.cx;
    m_nHeight = size.cy;
    m_runs.RemoveAll();
    for (int y = 0; y < size.cy; ++y) {
        int previous = 0;
        for (int x = 0; x < size.cx; ++x) {
            int v = GetRValue(picture.GetPixel(x, y));
            if (v != 0) {
                if (previous != 0 && m_runs.GetSize() > 0 &&
                    m_runs[m_runs.GetUpperBound()].coverage == v) {
                    ++m_runs[m_runs.GetUpperBound()].length;
                } else {
                    m_runs.Add(MaskRun{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                                       static_cast<std::uint16_t>(v), 1});
                }
            }
            previous = v;
        }
    }
    m_runs.FreeExtra();
    for (MaskRun& run : m_runs) run.coverage = static_cast<std::uint16_t>(run.coverage * 256 / 255);
    return true;
}

bool CMaskPicture::SetOpacity(int opacity) {
    m_nOpacity = std::clamp(opacity, 0, 256);
    return true;
}

bool CMaskPicture::Draw(CDibPicture* target, int x, int y) {
    if (!target || !target->IsLoaded()) return false;
    const int bits = target->GetBitCount();
    const bool clipped = bits == 16 || bits == 24 || bits == 32;
    const RECT& clip = target->GetClipRect();
    for (const MaskRun& run : m_runs) {
        std::int64_t row = std::int64_t{y} + run.y;
        if (clipped) {
            if (row < clip.top) continue;
            // Runs come in row order: nothing further down can be inside.
            if (row >= clip.bottom) break;
        }
        int w = run.coverage * m_nOpacity / 256;
        quillon::pictures::BlendRun(target, std::int64_t{x} + run.x, row, run.length, w, m_color);
    }
    return true;
}

bool CMaskPicture::DrawAligned(CDibPicture* target, int left, int top, int right, int bottom,
                               int halign, int valign) {
    CPoint pos = GetAlignedPos(m_nWidth, m_nHeight, left, top, right, bottom, halign, valign);
    return Draw(target, pos.x, pos.y);
}

CPoint GetAlignedPos(int w, int h, int left, int top, int right, int bottom, int halign,
                     int valign) {
    CPoint pos(left, top);
    if (halign == 0)
        pos.x = left + (right - left - w) / 2;
    else if (halign == 2)
        pos.x = right - w;
    if (valign == 0)
        pos.y = top + (bottom - top - h) / 2;
    else if (valign == 2)
        pos.y = bottom - h;
    return pos;
}

COLORREF GetContrastColor(COLORREF color) {
    int sum = GetRValue(color) + GetGValue(color) + GetBValue(color);
    return sum < 250 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

bool FillTranslucent(CDibPicture* target, int left, int top, int right, int bottom,
                     COLORREF color, int weight, bool fill) {
    if (!fill || !target || !target->IsLoaded()) return true;
    weight = std::clamp(weight, 0, 256);
    // One run per row of coverage `weight`, drawn at opacity `weight`.
    const int w = weight * weight / 256;
    // Rows outside the picture draw nothing at any depth.
    const std::int64_t y0 = std::max(top, 0);
    const std::int64_t y1 = std::min(bottom, target->GetSize().cy);
    for (std::int64_t y = y0; y < y1; ++y)
        quillon::pictures::BlendRun(target, left, y, std::int64_t{right} - left, w, color);
    return true;
}
