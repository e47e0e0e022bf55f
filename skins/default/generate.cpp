// quillon-skin-gen: draws the default skin's pictures and sounds and writes
// its Shift-JIS TARVIK.INI.
//
//     quillon-skin-gen TARVIK.INI.utf8 OUTDIR/
//
// Icons are mask pictures: grey levels on black, the level being how much
// of the screen colour a pixel takes. Shapes are drawn by a small
// supersampling rasteriser so their edges are smooth at any size; text goes
// through the library's own font path so it matches what the screen draws.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <quillon/quillon.h>

#include "skins/default/SkinPictures.h"

namespace {

using namespace skin;  // NOLINT(google-build-using-namespace): the generator is all drawing

constexpr double kPi = 3.14159265358979323846;

std::string g_out;               // output folder, with its trailing slash
std::set<std::string> g_written;  // file names made, for the INI's check

// Records a file made (for the INI's check), or says it could not be.
bool Written(const std::string& name, bool written) {
    if (!written) {
        std::fprintf(stderr, "quillon-skin-gen: cannot write %s%s\n", g_out.c_str(), name.c_str());
        return false;
    }
    g_written.insert(name);
    return true;
}

bool Save(const std::string& name, const std::string& bytes) {
    std::ofstream f(g_out + name, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return Written(name, static_cast<bool>(f));
}

bool WriteMask(const std::string& name, const Canvas& c) {
    return Save(name, EncodeMaskBmp(c));
}
bool WriteGif(const std::string& name, const Canvas& c) {
    return Save(name, EncodeGif(c));
}
bool WriteWav(const std::string& name, const std::vector<float>& s) {
    return Save(name, EncodeWav(s));
}

// ----------------------------------------------------------------- icons

// Each device drawn at frame `f` of its animation; f < 0 is the still icon.
using Icon = std::function<void(Canvas&, int f)>;

void Disc(Canvas& c, int f) {
    Paint(c, Circle(.5, .5, .46), .42f);
    // Two opposite glints turn with the frames (30 degrees each: after six
    // frames the pair looks as it began).
    double a = f < 0 ? 20 : 20 - 30.0 * f;
    Paint(c, Sector(.5, .5, .19, .43, a, a + 34), .95f);
    Paint(c, Sector(.5, .5, .19, .43, a + 180, a + 214), .95f);
    Paint(c, Sector(.5, .5, .19, .43, a + 60, a + 70), .7f);
    Paint(c, Sector(.5, .5, .19, .43, a + 240, a + 250), .7f);
    Paint(c, Ring(.5, .5, .43, .47), 1.f);
    Paint(c, Circle(.5, .5, .17), .15f);
    Paint(c, Ring(.5, .5, .12, .17), 1.f);
    Paint(c, Circle(.5, .5, .065), -1.f);
}

void MiniDisc(Canvas& c, int f) {
    // The cartridge with its cut corner, the shutter and the hub window.
    Shape body = Poly({{.12, .08}, {.78, .08}, {.90, .20}, {.90, .92}, {.12, .92}});
    Paint(c, body, .5f);
    Paint(c, RFrame(.12, .08, .90, .92, .03, .035), 1.f);
    Paint(c, Poly({{.76, .08}, {.90, .22}, {.90, .08}}), -1.f);
    Paint(c, Seg(.78, .085, .895, .205, .035), 1.f);
    Paint(c, RRect(.24, .56, .78, .88, .03), .88f);
    Paint(c, RRect(.30, .62, .72, .66, .02), .45f);
    Paint(c, RRect(.30, .72, .72, .76, .02), .45f);
    Paint(c, Circle(.46, .33, .17), .12f);
    Paint(c, Ring(.46, .33, .15, .18), .95f);
    // Three spokes that turn with the frames.
    double a = f < 0 ? 90 : 90 - 30.0 * f;
    for (int k = 0; k < 3; ++k) {
        double r = (a + 120 * k) * kPi / 180;
        Paint(c, Seg(.46, .33, .46 + .12 * std::cos(r), .33 - .12 * std::sin(r), .04), .9f);
    }
    Paint(c, Circle(.46, .33, .04), .3f);
    Paint(c, Poly({{.16, .12}, {.24, .12}, {.16, .20}}), .95f);
}

void Radio(Canvas& c, int f) {
    Paint(c, Seg(.66, .44, .84, .10, .035), 1.f);
    Paint(c, Circle(.84, .10, .04), 1.f);
    Paint(c, RRect(.08, .40, .92, .90, .08), .5f);
    Paint(c, RFrame(.08, .40, .92, .90, .08, .035), 1.f);
    // The grille and the dial.
    Paint(c, Circle(.31, .65, .16), .15f);
    for (double r : {.05, .1, .15}) Paint(c, Ring(.31, .65, r - .018, r), .9f);
    Paint(c, RRect(.52, .49, .84, .61, .02), .12f);
    Paint(c, Seg(.62, .50, .62, .60, .025), 1.f);
    for (int k = 0; k < 5; ++k) Paint(c, Seg(.56 + k * .06, .57, .56 + k * .06, .60, .012), .7f);
    Paint(c, Circle(.60, .76, .055), .95f);
    Paint(c, Circle(.76, .76, .055), .95f);
    // Waves from the aerial's tip: as many as the frame says.
    int waves = f < 0 ? 2 : f;
    for (int k = 0; k < waves; ++k) {
        double r = .10 + .09 * k;
        Paint(c, Arc(.84, .10, r - .025, r + .01, 150, 260), 1.f - .18f * k);
    }
}

void NetworkBox(Canvas& c, int f) {
    // Three nodes on a link above a box with its lamps and ports.
    Paint(c, Seg(.24, .16, .76, .16, .03), .85f);
    Paint(c, Seg(.50, .16, .50, .42, .03), .85f);
    for (double x : {.24, .50, .76}) Paint(c, Circle(x, .16, .07), 1.f);
    for (double x : {.24, .50, .76}) Paint(c, Circle(x, .16, .035), .3f);
    if (f >= 0) {
        // A packet running along the link.
        double t = f / 3.0;
        double x = f < 2 ? .24 + t * .78 : .76 - (t - .66) * .78;
        Paint(c, Circle(x, .16, .03), 1.f);
    }
    Paint(c, RRect(.08, .42, .92, .86, .07), .5f);
    Paint(c, RFrame(.08, .42, .92, .86, .07, .035), 1.f);
    for (int k = 0; k < 4; ++k) {
        bool lit = f < 0 ? k == 0 : k == f;
        Paint(c, Circle(.22 + k * .12, .58, .04), lit ? 1.f : .28f);
    }
    for (int k = 0; k < 2; ++k) {
        Paint(c, RRect(.66 + k * .12, .66, .76 + k * .12, .78, .015), .1f);
        Paint(c, RFrame(.66 + k * .12, .66, .76 + k * .12, .78, .015, .02), .9f);
    }
    Paint(c, RRect(.18, .70, .58, .74, .02), .3f);
}

void Chip(Canvas& c, int f) {
    for (int k = 0; k < 4; ++k) {
        double p = .30 + k * .133;
        Paint(c, RRect(p - .03, .06, p + .03, .24, .015), .9f);
        Paint(c, RRect(p - .03, .76, p + .03, .94, .015), .9f);
        Paint(c, RRect(.06, p - .03, .24, p + .03, .015), .9f);
        Paint(c, RRect(.76, p - .03, .94, p + .03, .015), .9f);
    }
    Paint(c, RRect(.20, .20, .80, .80, .05), .42f);
    Paint(c, RFrame(.20, .20, .80, .80, .05, .03), 1.f);
    Paint(c, Circle(.30, .30, .03), .9f);
    // A sine that travels with the frames.
    double phase = f < 0 ? 0 : f * kPi / 2;
    for (int i = 0; i < 24; ++i) {
        double x0 = .28 + i * .44 / 24, x1 = .28 + (i + 1) * .44 / 24;
        double y0 = .53 - .12 * std::sin((x0 - .28) / .44 * 2 * kPi + phase);
        double y1 = .53 - .12 * std::sin((x1 - .28) / .44 * 2 * kPi + phase);
        Paint(c, Seg(x0, y0, x1, y1, .045), 1.f);
    }
}

void SpeakerBody(Canvas& c) {
    Paint(c, RRect(.08, .36, .27, .64, .03), .9f);
    Paint(c, Poly({{.25, .36}, {.50, .15}, {.50, .85}, {.25, .64}}), .9f);
    Paint(c, Poly({{.29, .43}, {.45, .29}, {.45, .71}, {.29, .57}}), .45f);
}

void Speaker(Canvas& c, int f) {
    SpeakerBody(c);
    int waves = f < 0 ? 2 : f;
    for (int k = 0; k < waves; ++k) {
        double r = .16 + .11 * k;
        Paint(c, Arc(.50, .50, r - .02, r + .025, -42, 42), 1.f - .12f * k);
    }
}

void SpeakerMute(Canvas& c) {
    SpeakerBody(c);
    Paint(c, Seg(.62, .36, .88, .64, .07), 1.f);
    Paint(c, Seg(.62, .64, .88, .36, .07), 1.f);
}

// The optical jack: a square socket with its lit core, and an arrow that
// runs into it (in) or out of it (out).
void Optical(Canvas& c, int f, bool in) {
    double jx = in ? .56 : .08;
    Paint(c, RRect(jx, .24, jx + .36, .76, .06), .45f);
    Paint(c, RFrame(jx, .24, jx + .36, .76, .06, .035), 1.f);
    Paint(c, Poly({{jx + .08, .34}, {jx + .28, .34}, {jx + .28, .62}, {jx + .22, .68},
                   {jx + .14, .68}, {jx + .08, .62}}),
          .1f);
    float glow = f < 0 ? .8f : .55f + .15f * f;
    Paint(c, Circle(jx + .18, .50, .07), glow);
    Paint(c, Circle(jx + .18, .50, .035), 1.f);
    double shift = f < 0 ? 0 : (f - 1.5) * .03;
    double ax = (in ? .08 : .52) + shift;
    Paint(c, Seg(ax, .50, ax + .28, .50, .07), 1.f);
    Paint(c, Poly({{ax + .24, .38}, {ax + .40, .50}, {ax + .24, .62}}), 1.f);
}

struct Device {
    const char* name;  // as the INI names it
    const char* id;    // in the file names
    int frames;
    Icon draw;
};

const std::vector<Device>& Devices() {
    static const std::vector<Device> all = {
        {"CD/DVD", "cd", 6, Disc},
        {"MD", "md", 4, MiniDisc},
        {"FM TUNER", "fm", 4, Radio},
        {"NKX", "nkx", 4, NetworkBox},
        {"SOUND CHIP", "chip", 4, Chip},
        {"SPEAKER", "speaker", 4, Speaker},
        {"OPT IN", "optin", 4, [](Canvas& c, int f) { Optical(c, f, true); }},
        {"OPT OUT", "optout", 4, [](Canvas& c, int f) { Optical(c, f, false); }},
    };
    return all;
}

constexpr int kLarge = 80, kSmall = 44;

// A label under a device: the name on a faint pill, so it reads over any
// part of the background.
Canvas Label(const char* utf8, int px, bool bold, int padX, int padY) {
    Canvas t = Text(utf8, px, bold);
    Canvas c(t.w + 2 * padX, t.h + 2 * padY + 2);
    PaintPx(c, RRect(0, 0, c.w, c.h, c.h / 2.0), .16f);
    Blit(c, t, padX, padY + 2);
    return c;
}

bool WriteDevices() {
    bool ok = true;
    for (const Device& d : Devices()) {
        for (int set = 0; set < 2; ++set) {
            const int size = set == 0 ? kLarge : kSmall;
            const std::string base = std::string("dev_") + d.id + "_" + (set == 0 ? "L" : "S");
            Canvas still(size, size);
            d.draw(still, -1);
            ok &= WriteMask(base + ".bmp", still);
            for (int f = 0; f < d.frames; ++f) {
                Canvas c(size, size);
                d.draw(c, f);
                ok &= WriteMask(base + std::to_string(f) + ".bmp", c);
            }
            // Mute: the speaker crossed out; the others dimmed and struck through.
            Canvas mute(size, size);
            if (std::strcmp(d.id, "speaker") == 0) {
                SpeakerMute(mute);
            } else {
                mute = Scaled(still, .45f);
                Paint(mute, Seg(.14, .86, .86, .14, .08), -1.f);
                Paint(mute, Seg(.16, .84, .84, .16, .05), 1.f);
            }
            ok &= WriteMask(base + "_mute.bmp", mute);

            const int px = set == 0 ? 13 : 11;
            const std::string nameBase = std::string("name_") + d.id + "_" + (set == 0 ? "L" : "S");
            ok &= WriteMask(nameBase + ".bmp", Label(d.name, px, set == 0, set == 0 ? 8 : 5, 2));
            if (std::strcmp(d.id, "md") == 0)
                ok &= WriteMask(nameBase + "_rec.bmp",
                                Label("● MD 録音中", px, set == 0, set == 0 ? 8 : 5, 2));
        }
    }
    // The speaker's volume, 0 to 4 lit bars, right of the speaker.
    for (int set = 0; set < 2; ++set) {
        const int w = set == 0 ? 20 : 12, h = set == 0 ? 44 : 26;
        for (int s = 0; s < 5; ++s) {
            Canvas c(w, h);
            // Bars from the bottom up, each a little wider than the last.
            const double bar = h / 5.0;
            for (int k = 0; k < 4; ++k) {
                double top = h - bar * (k + 1) - 1, inset = (3 - k) * w / 14.0;
                PaintPx(c, RRect(inset + 1, top, w - 1 - inset, top + bar * .7, 1.2),
                        k < s ? 1.f : .22f);
            }
            ok &= WriteMask(std::string("state_speaker_") + (set == 0 ? "L" : "S") +
                                std::to_string(s) + ".bmp",
                            c);
        }
        // The sound chip at work: a small lamp and a word under its label.
        Canvas on = Text("ACTIVE", set == 0 ? 10 : 9, false, 1);
        Canvas c(on.w + (set == 0 ? 14 : 11), on.h + 4);
        double r = (set == 0 ? 3.5 : 3.0);
        PaintPx(c, Circle(r + 1, c.h / 2.0, r), 1.f);
        Blit(c, on, c.w - on.w, 2, .85f);
        ok &= WriteMask(std::string("state_chip_") + (set == 0 ? "L" : "S") + ".bmp", c);
    }
    return ok;
}

// ------------------------------------------------------------- calendar

bool WriteCalendarPictures() {
    bool ok = true;
    // Digits for the hour scale and the dates, all of one width so that the
    // numbers do not shift from row to row.
    // The hour numbers stand on the cell's bottom, so the cell keeps two
    // rows under the ink to stay off the first day's frame.
    constexpr int kDigitW = 8, kDigitH = 13;
    for (int d = 0; d <= 10; ++d) {
        const char s[2] = {d == 10 ? '/' : static_cast<char>('0' + d), 0};
        Canvas t = Text(s, 13, true);
        Canvas c(d == 10 ? 7 : kDigitW, kDigitH);
        Blit(c, t, (c.w - t.w) / 2, kDigitH - 2 - t.h);
        ok &= WriteMask(d == 10 ? "weekslash.bmp" : "week" + std::to_string(d) + ".bmp", c);
    }
    // Weekday pictures, right-aligned in the label: the ink keeps clear of
    // the label's right frame line.
    const char* names[] = {"日", "月", "火", "水", "木", "金", "土"};
    const char* files[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
    for (int i = 0; i < 7; ++i) {
        Canvas t = Text(names[i], 15, true);
        Canvas c(t.w + 10, 18);
        Blit(c, t, 2, (c.h - t.h) / 2);
        ok &= WriteGif(std::string("day_") + files[i] + ".gif", c);
    }
    return ok;
}

// The balloon: body, rounded, with a tail 15 pixels from one side whose
// tip is the bottom row. The surface is the rim and a faint sheen (the
// text is drawn in the same colour over it); the shadow darkens the body.
constexpr int kBalloonW = 150, kBalloonBodyH = 48, kBalloonH = 60;

// In pixels; `inset` shrinks it evenly, for the rim's inner edge.
Shape BalloonShape(bool right, double inset) {
    const double W = kBalloonW, H = kBalloonH, B = kBalloonBodyH;
    const double tip = right ? W - 15.5 : 15.5;
    const double base0 = right ? W - 38 : 10, base1 = right ? W - 10 : 38;
    Shape body = RRect(1 + inset, 1 + inset, W - 1 - inset, B - inset, 9 - inset);
    Shape tail = Poly({{base0 + inset * 1.4, B - 6}, {base1 - inset * 1.4, B - 6},
                       {tip, H - 1 - inset * 2.2}});
    return Union(body, tail);
}

bool WriteBalloon() {
    bool ok = true;
    for (bool right : {false, true}) {
        Shape outer = BalloonShape(right, 0), inner = BalloonShape(right, 1.6);
        Canvas surface(kBalloonW, kBalloonH);
        PaintPx(surface, [=](double x, double y) { return outer(x, y) && !inner(x, y); }, 1.f);
        // A sheen along the top of the body, fading down.
        for (int y = 3; y < 14; ++y)
            for (int x = 0; x < kBalloonW; ++x)
                if (inner(x + .5, y + .5))
                    surface.At(x, y) = std::max(surface.At(x, y), .10f * (14 - y) / 11);
        Canvas shadow(kBalloonW, kBalloonH);
        PaintPx(shadow, outer, 1.f);
        const char* side = right ? "r" : "l";
        ok &= WriteMask(std::string("balloon_") + side + ".bmp", surface);
        ok &= WriteMask(std::string("balloon_") + side + "_shadow.bmp", shadow);
    }
    // The kinds' icons, as small as the balloon's corner allows.
    struct Kind {
        const char* file;
        Icon draw;
    };
    const Kind kinds[] = {
        {"cd", Disc},
        {"md", MiniDisc},
        {"fm", Radio},
        {"nkx", NetworkBox},
        {"fmmd",
         [](Canvas& c, int) {
             // Radio waves falling onto a disc: recording from the air.
             Paint(c, Circle(.60, .60, .36), .45f);
             Paint(c, Ring(.60, .60, .32, .37), 1.f);
             Paint(c, Ring(.60, .60, .09, .15), 1.f);
             for (int k = 0; k < 2; ++k) {
                 double r = .12 + .14 * k;
                 Paint(c, Arc(.08, .08, r - .04, r + .02, 275, 355), 1.f);
             }
             Paint(c, Circle(.08, .08, .07), 1.f);
         }},
    };
    for (const Kind& k : kinds) {
        Canvas c(22, 22);
        k.draw(c, -1);
        const std::string name = std::string("kind_") + k.file + ".png";
        ok &= Written(name, WritePngMask(g_out + name, c));
    }
    return ok;
}

// -------------------------------------------------------------- buttons

// A command button: a symbol over a caption, 64 x 48.
Canvas CommandButton(const std::function<void(Canvas&)>& symbol, const char* caption) {
    constexpr int kW = 64, kH = 48;
    Canvas c(kW, kH);
    PaintPx(c, RRect(1, 1, kW - 1, kH - 1, 8), .10f);
    PaintPx(c, RFrame(1, 1, kW - 1, kH - 1, 8, 1.3), .55f);
    Canvas s(28, 28);
    symbol(s);
    Blit(c, s, (kW - 28) / 2, 3);
    Canvas t = Text(caption, 11);
    Blit(c, t, (kW - t.w) / 2, kH - t.h - 5);
    return c;
}

void Plus(Canvas& s) {
    Paint(s, Ring(.5, .5, .38, .46), 1.f);
    Paint(s, Seg(.5, .28, .5, .72, .1), 1.f);
    Paint(s, Seg(.28, .5, .72, .5, .1), 1.f);
}
void Pencil(Canvas& s) {
    Paint(s, Poly({{.22, .66}, {.64, .24}, {.78, .38}, {.36, .80}}), 1.f);
    Paint(s, Poly({{.22, .66}, {.36, .80}, {.14, .88}}), 1.f);
    Paint(s, Seg(.58, .30, .72, .44, .04), -1.f);
    Paint(s, Poly({{.68, .20}, {.74, .14}, {.88, .28}, {.82, .34}}), 1.f);
}
void Today(Canvas& s) {
    Paint(s, RFrame(.14, .18, .86, .88, .08, .07), 1.f);
    Paint(s, RRect(.14, .18, .86, .36, .06), 1.f);
    Paint(s, Seg(.32, .10, .32, .26, .08), 1.f);
    Paint(s, Seg(.68, .10, .68, .26, .08), 1.f);
    for (int r = 0; r < 2; ++r)
        for (int k = 0; k < 4; ++k)
            Paint(s, Circle(.27 + k * .155, .52 + r * .18, .04), r == 0 && k == 1 ? 0.f : .7f);
    Paint(s, Circle(.425, .52, .085), 1.f);
}
void Bin(Canvas& s, double lid) {
    // `lid` lifts and tilts the lid, 0 closed.
    Paint(s, Poly({{.24, .34}, {.76, .34}, {.70, .90}, {.30, .90}}), 1.f);
    for (double x : {.40, .50, .60}) Paint(s, Seg(x, .44, x, .80, .05), -1.f);
    double dy = lid * .14, tilt = lid * .10;
    Paint(s, Poly({{.18, .24 - dy + tilt}, {.82, .24 - dy - tilt}, {.82, .30 - dy - tilt},
                   {.18, .30 - dy + tilt}}),
          1.f);
    Paint(s, Seg(.42, .18 - dy, .58, .18 - dy - tilt * .5, .06), 1.f);
}

// The scroll buttons: a chevron in a rounded square; the animation nudges
// it in its direction.
Canvas Scroll(bool up, int f) {
    Canvas c(32, 32);
    Paint(c, RRect(.03, .03, .97, .97, .22), .12f);
    Paint(c, RFrame(.03, .03, .97, .97, .22, .05), .6f);
    double d = f < 0 ? 0 : f * .045;
    double y0 = up ? .60 - d : .40 + d, y1 = up ? .36 - d : .64 + d;
    Paint(c, Seg(.28, y0, .50, y1, .11), 1.f);
    Paint(c, Seg(.50, y1, .72, y0, .11), 1.f);
    return c;
}

Canvas Slot(int n) {
    Canvas c(40, 40);
    Paint(c, RRect(.03, .03, .97, .97, .2), .14f);
    Paint(c, RFrame(.03, .03, .97, .97, .2, .05), 1.f);
    Paint(c, RRect(.03, .03, .97, .30, .2), .55f);
    Paint(c, RRect(.03, .18, .97, .30, 0), -1.f);
    Paint(c, RRect(.03, .18, .97, .30, 0), .14f);
    Canvas t = Text(std::to_string(n).c_str(), 18, true);
    Blit(c, t, (40 - t.w) / 2, 12 + (26 - t.h) / 2);
    return c;
}

bool WriteButtons() {
    bool ok = true;
    for (bool up : {true, false}) {
        const std::string k = up ? "up" : "down";
        ok &= WriteMask(k + ".bmp", Scroll(up, -1));
        for (int f = 0; f < 4; ++f) ok &= WriteMask(k + std::to_string(f) + ".bmp", Scroll(up, f));
    }
    ok &= WriteMask("newmake.bmp", CommandButton(Plus, "新規予約"));
    ok &= WriteMask("change.bmp", CommandButton(Pencil, "変更"));
    ok &= WriteMask("today.bmp", CommandButton(Today, "今週"));
    ok &= WriteMask("trash.bmp", CommandButton([](Canvas& s) { Bin(s, 0); }, "削除"));
    for (int f = 0; f < 3; ++f)
        ok &= WriteMask("trash" + std::to_string(f) + ".bmp",
                        CommandButton([f](Canvas& s) { Bin(s, f / 2.0); }, "削除"));
    for (int n = 1; n <= 8; ++n) ok &= WriteMask("slot" + std::to_string(n) + ".bmp", Slot(n));
    // The dot of the dubbing and connection lines.
    Canvas dot(7, 7);
    Paint(dot, Circle(.5, .5, .42), .75f);
    Paint(dot, Circle(.5, .5, .24), 1.f);
    ok &= WriteGif("dot.gif", dot);
    return ok;
}

// ------------------------------------------------------------ background

constexpr int kBgW = 1018, kBgH = 762;

// Signed distance to a rounded rectangle, in pixels (negative inside).
double RoundedDistance(double x, double y, double x0, double y0, double x1, double y1, double r) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    double qx = std::fabs(x - cx) - ((x1 - x0) / 2 - r);
    double qy = std::fabs(y - cy) - ((y1 - y0) / 2 - r);
    double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

Rgb Mix(Rgb a, Rgb b, double t) {
    float k = static_cast<float>(std::max(0.0, std::min(1.0, t)));
    return {a.r + (b.r - a.r) * k, a.g + (b.g - a.g) * k, a.b + (b.b - a.b) * k};
}
Rgb C(int r, int g, int b) {
    return {r / 255.f, g / 255.f, b / 255.f};
}

bool WriteBackground() {
    std::vector<Rgb> px(static_cast<size_t>(kBgW * kBgH));
    // The panels: the header, the stage (calendar, large devices) and the
    // dock (small devices, slots).
    struct Panel {
        double x0, y0, x1, y1, r;
    };
    const Panel panels[] = {{12, 54, 1006, 622, 12}, {12, 632, 1006, 750, 12}};
    const Rgb top = C(26, 31, 44), bottom = C(9, 11, 17);
    for (int y = 0; y < kBgH; ++y)
        for (int x = 0; x < kBgW; ++x) {
            double t = static_cast<double>(y) / (kBgH - 1);
            Rgb c = Mix(top, bottom, std::pow(t, .8));
            // A soft light from the top centre.
            double dx = (x - kBgW / 2.0) / kBgW, dy = (y + 120.0) / kBgH;
            double glow = std::exp(-(dx * dx * 3.5 + dy * dy * 2.2)) * .10;
            c = Mix(c, C(70, 96, 140), glow);
            // The header band and its hairline.
            if (y < 46) c = Mix(c, C(34, 41, 58), .55 * (1 - y / 46.0) + .2);
            if (y == 46) c = Mix(c, C(74, 92, 124), .7);
            if (y == 47) c = Mix(c, C(0, 0, 0), .4);
            for (const Panel& p : panels) {
                double d = RoundedDistance(x + .5, y + .5, p.x0, p.y0, p.x1, p.y1, p.r);
                // Shadow below and around, then the fill, then the rim.
                double sd = RoundedDistance(x + .5, y - 3.5, p.x0, p.y0, p.x1, p.y1, p.r);
                if (sd > 0 && sd < 10) c = Mix(c, C(0, 0, 0), .28 * (1 - sd / 10));
                double inside = std::max(0.0, std::min(1.0, .5 - d));
                if (inside > 0) {
                    double ty = (y - p.y0) / (p.y1 - p.y0);
                    Rgb fill = Mix(C(25, 31, 45), C(15, 19, 28), ty);
                    c = Mix(c, fill, inside * .92);
                }
                double rim = std::max(0.0, 1 - std::fabs(d + .5));
                if (rim > 0) {
                    Rgb edge = Mix(C(74, 88, 116), C(40, 48, 64), (y - p.y0) / (p.y1 - p.y0));
                    c = Mix(c, edge, rim);
                }
                double inner = std::max(0.0, 1 - std::fabs(d + 1.7));
                if (inner > 0 && y < p.y0 + 24) c = Mix(c, C(96, 114, 150), inner * .25);
            }
            px[static_cast<size_t>(y * kBgW + x)] = c;
        }
    // The name in the header.
    auto ink = [&](const Canvas& t, int x, int y, Rgb color, double a) {
        for (int j = 0; j < t.h; ++j)
            for (int i = 0; i < t.w; ++i) {
                int tx = x + i, ty = y + j;
                if (tx < 0 || ty < 0 || tx >= kBgW || ty >= kBgH) continue;
                Rgb& p = px[static_cast<size_t>(ty * kBgW + tx)];
                p = Mix(p, color, t.Get(i, j) * a);
            }
    };
    Canvas mark(26, 26);
    Paint(mark, Circle(.5, .5, .46), .5f);
    Paint(mark, Ring(.5, .5, .40, .47), 1.f);
    Paint(mark, Circle(.5, .5, .20), -1.f);
    Paint(mark, Seg(.58, .58, .86, .86, .12), 1.f);
    ink(mark, 20, 10, C(255, 186, 72), .95);
    Canvas title = Text("Quillon", 20, true);
    ink(title, 54, 23 - title.h / 2, C(222, 232, 244), 1);
    Canvas sub = Text("オーディオ・タイマー", 12);
    ink(sub, 54 + title.w + 14, 26 - sub.h / 2 + 1, C(120, 134, 160), 1);
    return Written("bg.bmp", WriteBmp24(g_out + "bg.bmp", kBgW, kBgH, px));
}

// ----------------------------------------------------------------- sound

std::vector<float> Tone(double seconds, const std::function<float(double)>& at) {
    std::vector<float> s(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < s.size(); ++i) s[i] = at(static_cast<double>(i) / kRate);
    // 3 ms fades keep the ends from clicking.
    const size_t fade = kRate * 3 / 1000;
    for (size_t i = 0; i < fade && i < s.size(); ++i) {
        float k = static_cast<float>(i) / fade;
        s[i] *= k;
        s[s.size() - 1 - i] *= k;
    }
    return s;
}

bool WriteSounds() {
    bool ok = true;
    // Hover: a soft, high tick.
    ok &= WriteWav("hover.wav", Tone(.05, [](double t) {
        return static_cast<float>(.22 * std::sin(2 * kPi * 2200 * t) * std::exp(-t * 90));
    }));
    // Click: two quick notes, a fifth apart.
    ok &= WriteWav("click.wav", Tone(.11, [](double t) {
        double f = t < .045 ? 880 : 1320;
        double e = std::exp(-std::fmod(t, .045) * 55);
        return static_cast<float>(.3 * e * (std::sin(2 * kPi * f * t) + .3 * std::sin(4 * kPi * f * t)));
    }));
    // Drag: a short rising sweep.
    ok &= WriteWav("drag.wav", Tone(.18, [](double t) {
        double phase = 2 * kPi * (420 * t + 1500 * t * t);
        double e = std::sin(kPi * t / .18);
        return static_cast<float>(.25 * e * std::sin(phase));
    }));
    return ok;
}

// ------------------------------------------------------------------- INI

// Converts the UTF-8 source to Shift-JIS, with the skin's folder put into
// the sound file names, and checks that every quoted file it names exists.
bool WriteIni(const std::string& sourcePath) {
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quillon-skin-gen: cannot read %s\n", sourcePath.c_str());
        return false;
    }
    std::stringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    const std::string marker = "@SKINDIR@";
    for (size_t at; (at = text.find(marker)) != std::string::npos;)
        text.replace(at, marker.size(), g_out);

    bool ok = true;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        for (size_t q = line.find('"'); q != std::string::npos; q = line.find('"', q + 1)) {
            size_t e = line.find('"', q + 1);
            if (e == std::string::npos) break;
            std::string name = line.substr(q + 1, e - q - 1);
            q = e;
            size_t dot = name.rfind('.');
            if (dot == std::string::npos || name.size() - dot != 4) continue;
            std::string local = name.rfind(g_out, 0) == 0 ? name.substr(g_out.size()) : name;
            if (!g_written.count(local)) {
                std::fprintf(stderr, "quillon-skin-gen: %s:%d names %s, which was not drawn\n",
                             sourcePath.c_str(), number, name.c_str());
                ok = false;
            }
        }
    }
    if (!ok) return false;
    CString sjis = FromUtf8(text.c_str());
    return Save("TARVIK.INI", std::string(sjis.c_str(), static_cast<size_t>(sjis.GetLength())));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: quillon-skin-gen TARVIK.INI.utf8 OUTDIR/\n", stderr);
        return 2;
    }
    g_out = argv[2];
    if (g_out.empty() || g_out.back() != '/') g_out += '/';
    bool ok = WriteBackground();
    ok = WriteDevices() && ok;
    ok = WriteCalendarPictures() && ok;
    ok = WriteBalloon() && ok;
    ok = WriteButtons() && ok;
    ok = WriteSounds() && ok;
    // Last, so that a failed run leaves no fresh INI behind for the build.
    ok = ok && WriteIni(argv[1]);
    return ok ? 0 : 1;
}
