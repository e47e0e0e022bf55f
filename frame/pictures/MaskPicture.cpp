#include "frame/pictures/MaskPicture.h"

#include <algorithm>
#include <string>

#include "frame/pictures/DibPicture.h"
#include "platform/gdi/Pixels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Component c moved toward k by w out of 256 (0 keeps c, 256 gives k).
inline int MixByWeight256(int c, int k, int w) {
    return c + (k - c) * w / 256;
}

void Blend24(BYTE* p, int n, int kb, int kg, int kr, int w);
void Blend16(BYTE* p, int n, int kb, int kg, int kr, int w);

// 32-bit rows. (k - c) * w / 256 truncates toward zero, so it is computed as
// the magnitude |k - c| * w >> 8 with the sign put back; |k - c| * w is below
// 65536, so 16-bit lanes hold it exactly. The fourth byte of a pixel gets
// weight 0 and stays as it was.
#if defined(__SSE2__)
// The weight vectors (w, w, w, 0) for two pixels, for every weight.
struct WeightVectors {
    WeightVectors() {
        for (int w = 0; w <= 256; ++w) {
            auto v = static_cast<short>(w);
            lanes[w] = _mm_setr_epi16(v, v, v, 0, v, v, v, 0);
        }
    }
    __m128i lanes[257];
};
const WeightVectors kWeights;
#endif

class Blender32 {
public:
    explicit Blender32(std::uint32_t kbgr) : m_kbgr(kbgr) {
#if defined(__SSE2__)
        m_k = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(kbgr)), _mm_setzero_si128());
#endif
    }

    // 0 < w <= 256: |k - c| * 256 still fits a 16-bit lane.
    __attribute__((always_inline)) void Blend(std::uint32_t* p, int n, int w) const {
        int i = 0;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i wv = kWeights.lanes[w];
        for (; i + 4 <= n; i += 4) {
            __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            __m128i lo = Blend8(_mm_unpacklo_epi8(px, zero), wv);
            __m128i hi = Blend8(_mm_unpackhi_epi8(px, zero), wv);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_packus_epi16(lo, hi));
        }
        for (; i < n; ++i) {
            __m128i px = _mm_cvtsi32_si128(static_cast<int>(p[i]));
            __m128i c = Blend8(_mm_unpacklo_epi8(px, zero), wv);
            p[i] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(c, c)));
        }
#else
        const int kb = m_kbgr & 0xFF, kg = (m_kbgr >> 8) & 0xFF, kr = (m_kbgr >> 16) & 0xFF;
        for (; i < n; ++i) {
            std::uint32_t v = p[i];
            int b = MixByWeight256(v & 0xFF, kb, w);
            int g = MixByWeight256((v >> 8) & 0xFF, kg, w);
            int r = MixByWeight256((v >> 16) & 0xFF, kr, w);
            p[i] = (v & 0xFF000000u) | (static_cast<std::uint32_t>(r) << 16) |
                   (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
        }
#endif
    }

    // One pixel, 0 < w <= 256.
    __attribute__((always_inline)) void Pixel(std::uint32_t* p, int w) const {
#if defined(__SSE2__)
        const __m128i wv = kWeights.lanes[w];
        __m128i px = _mm_cvtsi32_si128(static_cast<int>(*p));
        __m128i c = Blend8(_mm_unpacklo_epi8(px, _mm_setzero_si128()), wv);
        *p = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(c, c)));
#else
        Blend(p, 1, w);
#endif
    }

    // Two neighbouring pixels of weights w0 and w1 (0..256).
    __attribute__((always_inline)) void Pair(std::uint32_t* p, int w0, int w1) const {
#if defined(__SSE2__)
        const __m128i wv = _mm_unpacklo_epi64(kWeights.lanes[w0], kWeights.lanes[w1]);
        __m128i px = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        __m128i c = Blend8(_mm_unpacklo_epi8(px, _mm_setzero_si128()), wv);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(c, c));
#else
        Blend(p, 1, w0);
        Blend(p + 1, 1, w1);
#endif
    }

    // Full coverage: the colour itself. The fourth byte is no part of the
    // colour and is written as 0, as solid fills write it.
    __attribute__((always_inline)) void Solid(std::uint32_t* p, int n) const {
        int i = 0;
#if defined(__SSE2__)
        const __m128i k = _mm_set1_epi32(static_cast<int>(m_kbgr));
        for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), k);
#endif
        for (; i < n; ++i) p[i] = m_kbgr;
    }

private:
#if defined(__SSE2__)
    __attribute__((always_inline)) __m128i Blend8(__m128i c, __m128i wv) const {
        __m128i d = _mm_sub_epi16(m_k, c);
        __m128i sign = _mm_srai_epi16(d, 15);
        __m128i mag = _mm_sub_epi16(_mm_xor_si128(d, sign), sign);
        __m128i q = _mm_srli_epi16(_mm_mullo_epi16(mag, wv), 8);
        return _mm_add_epi16(c, _mm_sub_epi16(_mm_xor_si128(q, sign), sign));
    }
    __m128i m_k;
#endif
    std::uint32_t m_kbgr;
};

// Row, clip and colour worked out once for a whole drawing into a
// true-colour picture.
struct TrueColourTarget {
    explicit TrueColourTarget(CDibPicture* target, COLORREF color)
        : bits(target->GetBitCount()),
          clip(target->GetClipRect()),
          base(target->GetBits()),
          stride(target->GetStride()),
          height(target->GetSize().cy),
          kr(GetRValue(color)),
          kg(GetGValue(color)),
          kb(GetBValue(color)),
          blender(quillon::platform::gdi::ColorToBgrx(color)) {}

    // A run of one weight in row y, cut to the clip rectangle.
    void Run(std::int64_t x, std::int64_t y, std::int64_t length, int w) const {
        if (w <= 0 || y < clip.top || y >= clip.bottom) return;
        std::int64_t x0 = std::max<std::int64_t>(x, clip.left);
        std::int64_t x1 = std::min<std::int64_t>(x + length, clip.right);
        if (x0 >= x1) return;
        const int n = static_cast<int>(x1 - x0);
        BYTE* row = base + static_cast<std::ptrdiff_t>(height - 1 - y) * stride;
        if (bits == 32) {
            auto* p = reinterpret_cast<std::uint32_t*>(row) + x0;
            if (w >= 256)
                blender.Solid(p, n);
            else
                blender.Blend(p, n, w);
        } else if (bits == 24) {
            Blend24(row + 3 * x0, n, kb, kg, kr, std::min(w, 256));
        } else {
            Blend16(row + 2 * x0, n, kb >> 3, kg >> 3, kr >> 3, std::min(w, 256));
        }
    }

    int bits;
    RECT clip;
    BYTE* base;
    int stride;
    int height;
    int kr, kg, kb;
    Blender32 blender;
};

void Blend24(BYTE* p, int n, int kb, int kg, int kr, int w) {
    for (int i = 0; i < n; ++i, p += 3) {
        p[0] = static_cast<BYTE>(MixByWeight256(p[0], kb, w));
        p[1] = static_cast<BYTE>(MixByWeight256(p[1], kg, w));
        p[2] = static_cast<BYTE>(MixByWeight256(p[2], kr, w));
    }
}

// 5-bit units; bit 15 stays.
void Blend16(BYTE* p, int n, int kb, int kg, int kr, int w) {
    for (int i = 0; i < n; ++i, p += 2) {
        unsigned v = p[0] | (p[1] << 8);
        int r = MixByWeight256(static_cast<int>((v >> 10) & 31), kr, w);
        int g = MixByWeight256(static_cast<int>((v >> 5) & 31), kg, w);
        int b = MixByWeight256(static_cast<int>(v & 31), kb, w);
        v = (v & 0x8000u) | (static_cast<unsigned>(r) << 10) | (static_cast<unsigned>(g) << 5) |
            static_cast<unsigned>(b);
        p[0] = static_cast<BYTE>(v);
        p[1] = static_cast<BYTE>(v >> 8);
    }
}

// The hot path of icons and labels: every run into a 32-bit picture, with
// nothing but the run itself worked out per run.
void DrawRuns32(const TrueColourTarget& t, const MaskRun* run, const MaskRun* end, std::int64_t x,
                std::int64_t y, int width, int height, int opacity) {
    const std::int64_t left = t.clip.left, right = t.clip.right;
    if (x >= left && y >= t.clip.top && x + width <= right && y + height <= t.clip.bottom) {
        // Wholly inside the clip rectangle, the usual case: no cutting.
        BYTE* top = t.base + (t.height - 1 - y) * static_cast<std::int64_t>(t.stride);
        auto* origin = reinterpret_cast<std::uint32_t*>(top) + x;
        const std::ptrdiff_t words = t.stride / 4;
        for (; run != end; ++run) {
            const int w = std::min(run->coverage * opacity >> 8, 256);
            std::uint32_t* p = origin - run->y * words + run->x;
            const int n = run->length;
            if (n == 1) {
                // Anti-aliased edges are mostly single pixels side by side:
                // two of them go together.
                const MaskRun* next = run + 1;
                if (next != end && next->length == 1 && next->y == run->y &&
                    next->x == run->x + 1) {
                    t.blender.Pair(p, w, std::min(next->coverage * opacity >> 8, 256));
                    run = next;
                } else {
                    t.blender.Pixel(p, w);
                }
            } else if (w >= 256 && n >= 4) {
                t.blender.Solid(p, n);
            } else if (w > 0) {
                t.blender.Blend(p, n, w);
            }
        }
        return;
    }
    for (; run != end; ++run) {
        const std::int64_t row = y + run->y;
        if (row < t.clip.top) continue;
        // Runs come in row order: nothing further down can be inside.
        if (row >= t.clip.bottom) break;
        std::int64_t x0 = x + run->x;
        std::int64_t x1 = x0 + run->length;
        if (x0 < left) x0 = left;
        if (x1 > right) x1 = right;
        const int w = run->coverage * opacity >> 8;
        if (x0 >= x1 || w <= 0) continue;
        auto* p = reinterpret_cast<std::uint32_t*>(t.base + (t.height - 1 - row) * t.stride) + x0;
        const int n = static_cast<int>(x1 - x0);
        // Short runs (the anti-aliased edges) all take one path, whatever
        // their weight, which keeps the branches predictable.
        if (w >= 256 && n >= 4)
            t.blender.Solid(p, n);
        else
            t.blender.Blend(p, n, std::min(w, 256));
    }
}

// Other depths pixel by pixel; pixels outside the picture are skipped by
// GetPixel and SetPixel themselves, and the clip rectangle does not apply.
void PixelRun(CDibPicture* target, std::int64_t x, std::int64_t y, std::int64_t length, int w,
              COLORREF color) {
    if (w <= 0) return;
    w = std::min(w, 256);
    CSize size = target->GetSize();
    if (y < 0 || y >= size.cy) return;
    const int kr = GetRValue(color), kg = GetGValue(color), kb = GetBValue(color);
    std::int64_t x0 = std::max<std::int64_t>(x, 0);
    std::int64_t x1 = std::min<std::int64_t>(x + length, size.cx);
    for (std::int64_t px = x0; px < x1; ++px) {
        COLORREF c = target->GetPixel(static_cast<int>(px), static_cast<int>(y));
        target->SetPixel(
            static_cast<int>(px), static_cast<int>(y),
            RGB(MixByWeight256(GetRValue(c), kr, w), MixByWeight256(GetGValue(c), kg, w),
                MixByWeight256(GetBValue(c), kb, w)));
    }
}

bool IsTrueColour(int bits) {
    return bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

namespace quillon {
namespace pictures {

void BlendRun(CDibPicture* target, std::int64_t x, std::int64_t y, std::int64_t length, int w,
              COLORREF color) {
    if (!target || !target->IsLoaded() || length <= 0) return;
    if (IsTrueColour(target->GetBitCount()))
        TrueColourTarget(target, color).Run(x, y, length, w);
    else
        PixelRun(target, x, y, length, w, color);
}

}  // namespace pictures
}  // namespace quillon

CMaskPicture::CMaskPicture() = default;
CMaskPicture::CMaskPicture(const CMaskPicture& other) = default;
CMaskPicture& CMaskPicture::operator=(const CMaskPicture& other) = default;
CMaskPicture::~CMaskPicture() = default;

namespace {

std::string g_lastMaskError;

}  // namespace

const char* CMaskPicture::LastLoadError() {
    return g_lastMaskError.c_str();
}

bool CMaskPicture::Load(CString path) {
    g_lastMaskError.clear();
    CDibPicture picture;
    if (!picture.Load(path)) {
        g_lastMaskError = CDibPicture::LastLoadError();
        return false;
    }
    CSize size = picture.GetSize();
    // Run positions and lengths are 16-bit; the picture cap keeps every
    // side well inside that.
    if (size.cx > 32767 || size.cy > 32767) {
        g_lastMaskError = "picture wider or taller than 32767 pixels";
        return false;
    }
    m_nWidth = size.cx;
    m_nHeight = size.cy;
    m_runs.RemoveAll();
    // The red level of each pixel, read from the rows directly for the
    // usual depths: a large picture has many pixels.
    const int bits = picture.GetBitCount();
    std::uint8_t table[256] = {};
    if (bits == 8) {
        // Indexes past the table's entries read as black, as GetPixel has it.
        const BITMAPINFO* info = picture.GetBitmapInfo();
        const DWORD used = info->bmiHeader.biClrUsed;
        const int entries = used != 0 ? static_cast<int>(std::min<DWORD>(used, 256)) : 256;
        for (int i = 0; i < entries; ++i) table[i] = info->bmiColors[i].rgbRed;
    }
    auto red = [&](const BYTE* row, int x, int y) -> int {
        switch (bits) {
            case 32:
                return row[4 * x + 2];
            case 24:
                return row[3 * x + 2];
            case 8:
                return table[row[x]];
            default:
                return GetRValue(picture.GetPixel(x, y));
        }
    };
    for (int y = 0; y < size.cy; ++y) {
        int previous = 0;
        const BYTE* row = picture.GetRow(y);
        for (int x = 0; x < size.cx; ++x) {
            int v = red(row, x, y);
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
    if (!IsTrueColour(target->GetBitCount())) {
        for (const MaskRun& run : m_runs) {
            PixelRun(target, std::int64_t{x} + run.x, std::int64_t{y} + run.y, run.length,
                     run.coverage * m_nOpacity / 256, m_color);
        }
        return true;
    }
    const TrueColourTarget t(target, m_color);
    if (t.bits == 32) {
        DrawRuns32(t, m_runs.GetData(), m_runs.GetData() + m_runs.GetSize(), x, y, m_nWidth,
                   m_nHeight, m_nOpacity);
        return true;
    }
    for (const MaskRun& run : m_runs) {
        std::int64_t row = std::int64_t{y} + run.y;
        if (row < t.clip.top) continue;
        // Runs come in row order: nothing further down can be inside.
        if (row >= t.clip.bottom) break;
        t.Run(std::int64_t{x} + run.x, row, run.length, run.coverage * m_nOpacity / 256);
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

bool FillTranslucent(CDibPicture* target, int left, int top, int right, int bottom, COLORREF color,
                     int weight, bool fill) {
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
