// The skin generator's drawing kit: a supersampling rasteriser for mask
// pictures, text through the library's font path, and the file formats the
// screen reads.
#include "skins/default/SkinPictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/pictures/DibPicture.h"
#include "platform/decode/PictureDecoder.h"
#include "platform/gdi/DC.h"
#include "platform/text/Font.h"

namespace skin {
namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

// 4 x 4 samples a pixel. `level` is painted over what is there by the
// shape's coverage; a negative level erases. `scale` maps pixels to the
// shape's coordinates.
void PaintScaled(Canvas& c, const Shape& in, float level, double scale) {
    constexpr int kSub = 4;
    const double sx = scale, sy = scale;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            int hits = 0;
            for (int j = 0; j < kSub; ++j)
                for (int i = 0; i < kSub; ++i)
                    if (in((x + (i + 0.5) / kSub) * sx, (y + (j + 0.5) / kSub) * sy)) ++hits;
            if (!hits) continue;
            float cov = static_cast<float>(hits) / (kSub * kSub);
            float& p = c.At(x, y);
            p = level < 0 ? p * (1 - cov) : p + (level - p) * cov;
        }
}

// Square pictures in unit coordinates; others in pixels.
void Paint(Canvas& c, const Shape& in, float level) {
    PaintScaled(c, in, level, 1.0 / c.w);
}
void PaintPx(Canvas& c, const Shape& in, float level) {
    PaintScaled(c, in, level, 1.0);
}

Shape Circle(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Shape Ring(double cx, double cy, double r0, double r1) {
    return [=](double x, double y) {
        double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d >= r0 * r0 && d <= r1 * r1;
    };
}
Shape RRect(double x0, double y0, double x1, double y1, double r) {
    return [=](double x, double y) {
        if (x < x0 || x > x1 || y < y0 || y > y1) return false;
        double dx = x < x0 + r ? x0 + r - x : x > x1 - r ? x - (x1 - r) : 0;
        double dy = y < y0 + r ? y0 + r - y : y > y1 - r ? y - (y1 - r) : 0;
        return dx * dx + dy * dy <= r * r;
    };
}
// The outline of a rounded rectangle, `t` thick, inside its edge.
Shape RFrame(double x0, double y0, double x1, double y1, double r, double t) {
    Shape outer = RRect(x0, y0, x1, y1, r);
    Shape inner = RRect(x0 + t, y0 + t, x1 - t, y1 - t, std::max(0.0, r - t));
    return [=](double x, double y) { return outer(x, y) && !inner(x, y); };
}
Shape Poly(std::vector<Pt> p) {
    return [=](double x, double y) {
        bool in = false;
        for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
            if ((p[i].y > y) != (p[j].y > y) &&
                x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
                in = !in;
        return in;
    };
}
// A stroke with round ends.
Shape Seg(double x0, double y0, double x1, double y1, double width) {
    return [=](double x, double y) {
        double dx = x1 - x0, dy = y1 - y0;
        double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
        t = std::max(0.0, std::min(1.0, t));
        double ex = x0 + t * dx - x, ey = y0 + t * dy - y;
        return ex * ex + ey * ey <= width * width / 4;
    };
}
// Angle in degrees counter-clockwise from the right, as seen on screen.
double AngleOf(double dx, double dy) {
    double a = std::atan2(-dy, dx) * 180 / kPi;
    return a < 0 ? a + 360 : a;
}
bool AngleIn(double a, double a0, double a1) {
    a0 = std::fmod(a0 + 720, 360);
    a1 = std::fmod(a1 + 720, 360);
    return a0 <= a1 ? a >= a0 && a <= a1 : a >= a0 || a <= a1;
}
// An arc between the angles, from radius r0 to r1, with round ends.
Shape Arc(double cx, double cy, double r0, double r1, double a0, double a1) {
    double rm = (r0 + r1) / 2, t = r1 - r0;
    auto end = [=](double a) {
        return Circle(cx + rm * std::cos(a * kPi / 180), cy - rm * std::sin(a * kPi / 180), t / 2);
    };
    Shape e0 = end(a0), e1 = end(a1);
    return [=](double x, double y) {
        double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
        if (d >= r0 && d <= r1 && AngleIn(AngleOf(x - cx, y - cy), a0, a1)) return true;
        return e0(x, y) || e1(x, y);
    };
}
Shape Sector(double cx, double cy, double r0, double r1, double a0, double a1) {
    return [=](double x, double y) {
        double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
        return d >= r0 && d <= r1 && AngleIn(AngleOf(x - cx, y - cy), a0, a1);
    };
}
Shape Union(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

// Lays `src` onto `dst` at (x, y), each pixel's coverage times `level`.
void Blit(Canvas& dst, const Canvas& src, int x, int y, float level) {
    for (int j = 0; j < src.h; ++j)
        for (int i = 0; i < src.w; ++i) {
            int tx = x + i, ty = y + j;
            if (tx < 0 || ty < 0 || tx >= dst.w || ty >= dst.h) continue;
            float cov = src.Get(i, j);
            float& p = dst.At(tx, ty);
            p = p + (level - p) * cov;
        }
}

Canvas Scaled(const Canvas& c, float k) {
    Canvas out = c;
    for (float& p : out.v) p *= k;
    return out;
}

// ------------------------------------------------------------------ text

// The screen's gothic face at `px` pixels, white on black through the
// library's DrawText, cut to the ink plus `pad` pixels. `bold` thickens
// the strokes by one pixel (the face has no bold of its own).
Canvas Text(const char* utf8, int px, bool bold, int pad) {
    CString text = FromUtf8(utf8);
    int w = static_cast<int>(std::strlen(utf8)) * px + 16, h = px * 2 + 16;
    CDibPicture pic;
    pic.Create(w, h, 32);
    CFont font;
    font.CreateFont(-px, 0, 0, 0, 400, 0, 0, 0, 128, 3, 2, 1, 0x34, Sjis("ＭＳ ゴシック").c_str());
    CDC* dc = pic.GetMemDC();
    CFont* old = dc->SelectObject(&font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(255, 255, 255));
    CRect box(4, 4, w, h);
    dc->DrawText(text, &box, 0);
    dc->SelectObject(old);
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (GetRValue(pic.GetPixel(x, y))) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 < 0) return Canvas(1, 1);
    int extra = bold ? 1 : 0;
    Canvas c(x1 - x0 + 1 + extra + 2 * pad, y1 - y0 + 1 + 2 * pad);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1 + extra; ++x) {
            float a = GetRValue(pic.GetPixel(x, y)) / 255.f;
            if (bold && x > x0) a = std::max(a, GetRValue(pic.GetPixel(x - 1, y)) / 255.f);
            c.At(x - x0 + pad, y - y0 + pad) = a;
        }
    return c;
}

// --------------------------------------------------------------- writers

static void Put16(std::string& b, unsigned v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}
static void Put32(std::string& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

std::uint8_t Level(float v) {
    return static_cast<std::uint8_t>(std::lround(std::max(0.f, std::min(1.f, v)) * 255));
}

// The header the library reads: 14 + 40 bytes, the table, bottom row first.
static std::string BmpHeader(int w, int h, int bits, int colors, int stride) {
    std::string b = "BM";
    std::uint32_t offset = 54 + 4 * colors;
    Put32(b, offset + stride * h);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, w);
    Put32(b, h);
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, 0);
    Put32(b, stride * h);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, colors);
    Put32(b, 0);
    return b;
}

// Masks as 8-bit grey BMPs: a quarter of the size of 24 bits, same levels.
std::string EncodeMaskBmp(const Canvas& c) {
    int stride = (c.w + 3) & ~3;
    std::string b = BmpHeader(c.w, c.h, 8, 256, stride);
    for (int i = 0; i < 256; ++i) {
        b += static_cast<char>(i), b += static_cast<char>(i), b += static_cast<char>(i);
        b += '\0';
    }
    for (int y = c.h - 1; y >= 0; --y) {
        for (int x = 0; x < c.w; ++x) b += static_cast<char>(Level(c.Get(x, y)));
        b.append(static_cast<size_t>(stride - c.w), '\0');
    }
    return b;
}

// GIF89a with a grey palette whose entry 0 (black) is transparent. The LZW
// stream sends literal codes only and a clear code before the table would
// widen past 9 bits: larger than real LZW, but every decoder reads it.
std::string EncodeGif(const Canvas& c) {
    std::string b = "GIF89a";
    Put16(b, c.w);
    Put16(b, c.h);
    b += static_cast<char>(0xF7);  // global table of 256 entries
    b += '\0';
    b += '\0';
    for (int i = 0; i < 256; ++i)
        b += static_cast<char>(i), b += static_cast<char>(i), b += static_cast<char>(i);
    b += "\x21\xF9\x04\x01";  // graphic control: transparent index given
    Put16(b, 0);
    b += '\0';  // the transparent index
    b += '\0';
    b += ',';
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, c.w);
    Put16(b, c.h);
    b += '\0';
    b += '\x08';  // minimum code size
    std::string data;
    std::uint32_t acc = 0;
    int nbits = 0;
    auto emit = [&](unsigned code) {
        acc |= code << nbits;
        nbits += 9;
        while (nbits >= 8) {
            data += static_cast<char>(acc & 0xFF);
            acc >>= 8;
            nbits -= 8;
        }
    };
    constexpr unsigned kClear = 256, kEnd = 257;
    int run = 0;
    emit(kClear);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            if (run == 250) {
                emit(kClear);
                run = 0;
            }
            emit(Level(c.Get(x, y)));
            ++run;
        }
    emit(kEnd);
    if (nbits > 0) data += static_cast<char>(acc & 0xFF);
    for (size_t at = 0; at < data.size(); at += 255) {
        size_t n = std::min<size_t>(255, data.size() - at);
        b += static_cast<char>(n);
        b.append(data, at, n);
    }
    b += '\0';
    b += ';';
    return b;
}

bool WritePngMask(const std::string& path, const Canvas& c) {
    std::vector<std::uint8_t> bgrx(static_cast<size_t>(c.w * c.h * 4));
    for (int i = 0; i < c.w * c.h; ++i) {
        std::uint8_t v = Level(c.v[static_cast<size_t>(i)]);
        bgrx[static_cast<size_t>(i * 4)] = bgrx[static_cast<size_t>(i * 4 + 1)] =
            bgrx[static_cast<size_t>(i * 4 + 2)] = v;
    }
    return quillon::platform::WritePng(path.c_str(), c.w, c.h, bgrx.data(), c.w * 4);
}

bool WriteBmp24(const std::string& path, int w, int h, const std::vector<Rgb>& px) {
    if (w <= 0 || px.size() != static_cast<size_t>(w) * static_cast<size_t>(h)) return false;
    std::vector<std::uint8_t> bgrx(px.size() * 4, 0);
    for (size_t i = 0; i < px.size(); ++i) {
        bgrx[i * 4] = Level(px[i].b);
        bgrx[i * 4 + 1] = Level(px[i].g);
        bgrx[i * 4 + 2] = Level(px[i].r);
    }
    return quillon::platform::WriteBmp(path.c_str(), w, h, bgrx.data(), w * 4);
}

// 16-bit mono PCM at 22050 Hz.
std::string EncodeWav(const std::vector<float>& s) {
    std::string b = "RIFF";
    Put32(b, static_cast<std::uint32_t>(36 + s.size() * 2));
    b += "WAVEfmt ";
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, 1);
    Put32(b, kRate);
    Put32(b, kRate * 2);
    Put16(b, 2);
    Put16(b, 16);
    b += "data";
    Put32(b, static_cast<std::uint32_t>(s.size() * 2));
    for (float v : s) {
        int q = static_cast<int>(std::lround(std::max(-1.f, std::min(1.f, v)) * 32000));
        Put16(b, static_cast<unsigned>(q) & 0xFFFF);
    }
    return b;
}

}  // namespace skin
