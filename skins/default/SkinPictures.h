// The skin generator's drawing kit: mask pictures drawn by supersampling,
// text in the screen's own face, and encoders for the files the screen reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skin {

// Grey levels 0..1, top row first: how much of the screen colour a pixel of
// a mask picture takes.
struct Canvas {
    int w = 0, h = 0;
    std::vector<float> v;  // coverage 0..1, top row first
    Canvas(int width, int height) : w(width), h(height), v(static_cast<size_t>(width * height)) {}
    float& At(int x, int y) { return v[static_cast<size_t>(y * w + x)]; }
    float Get(int x, int y) const {
        return x < 0 || y < 0 || x >= w || y >= h ? 0.f : v[static_cast<size_t>(y * w + x)];
    }
};

// A shape in unit coordinates: (0, 0) top left, (1, 1) bottom right of the
// picture, so one drawing serves every size.
using Shape = std::function<bool(double, double)>;

// 4 x 4 samples a pixel: `level` is laid over what is there by the shape's
// coverage, and a negative level erases. `scale` maps pixels to the shape's
// coordinates.
void PaintScaled(Canvas& c, const Shape& in, float level, double scale);
// Square pictures in unit coordinates (by the width); others in pixels.
void Paint(Canvas& c, const Shape& in, float level);
void PaintPx(Canvas& c, const Shape& in, float level);

struct Pt {
    double x, y;
};

Shape Circle(double cx, double cy, double r);
Shape Ring(double cx, double cy, double r0, double r1);
Shape RRect(double x0, double y0, double x1, double y1, double r);
// The outline of a rounded rectangle, `t` thick, inside its edge.
Shape RFrame(double x0, double y0, double x1, double y1, double r, double t);
Shape Poly(std::vector<Pt> p);
// A stroke with round ends.
Shape Seg(double x0, double y0, double x1, double y1, double width);
// Angles in degrees counter-clockwise from the right, as seen on screen.
double AngleOf(double dx, double dy);
bool AngleIn(double a, double a0, double a1);
// An arc from radius r0 to r1 between two angles, with round ends.
Shape Arc(double cx, double cy, double r0, double r1, double a0, double a1);
Shape Sector(double cx, double cy, double r0, double r1, double a0, double a1);
Shape Union(Shape a, Shape b);

// Lays `src` onto `dst` at (x, y), each pixel's coverage times `level`.
void Blit(Canvas& dst, const Canvas& src, int x, int y, float level = 1.f);
Canvas Scaled(const Canvas& c, float k);

// The screen's gothic face at `px` pixels, through the library's DrawText,
// cut to the ink plus `pad`; `bold` thickens the strokes by a pixel.
Canvas Text(const char* utf8, int px, bool bold = false, int pad = 0);

std::uint8_t Level(float v);

// An 8-bit grey BMP of the levels.
std::string EncodeMaskBmp(const Canvas& c);
struct Rgb {
    float r, g, b;
};

// GIF89a in grey levels, level 0 transparent.
std::string EncodeGif(const Canvas& c);
// An RGB PNG of the levels, through the library's writer.
bool WritePngMask(const std::string& path, const Canvas& c);
// A 24-bit BMP of `w` x `h` pixels, top row first, through the library's writer.
bool WriteBmp24(const std::string& path, int w, int h, const std::vector<Rgb>& px);
// 16-bit mono PCM at 22050 Hz.
constexpr int kRate = 22050;
std::string EncodeWav(const std::vector<float>& samples);

}  // namespace skin
