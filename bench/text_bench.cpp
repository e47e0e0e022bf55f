// Text: laying out the balloon's three lines (glyphs cached) and blending
// their coverage into a 32-bit frame, against copying the balloon's text area
// of that frame row by row, which is the least any drawing of it costs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/pictures/DibPicture.h"
#include "platform/gdi/DC.h"
#include "platform/text/Font.h"

namespace {

constexpr int kFrameWidth = 1024;
constexpr int kFrameHeight = 768;
constexpr int kAreaWidth = 200;
constexpr int kAreaHeight = 48;

CFont* BalloonFont() {
    static CFont* font = [] {
        auto* f = new CFont();
        f->CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 128, 3, 2, 1, 0x34, Sjis("ＭＳ ゴシック"));
        return f;
    }();
    return font;
}

const CString& BalloonText() {
    return Sjis("CD再生\n10:00 - 11:00\n毎週 月水金");
}

void Text_Baseline_CopyBalloonArea(benchmark::State& state) {
    std::vector<std::uint32_t> from(kFrameWidth * kFrameHeight, 0x00336699);
    std::vector<std::uint32_t> to(kFrameWidth * kFrameHeight, 0);
    const int x = 400;
    const int y = 300;
    for (auto _ : state) {
        for (int row = 0; row < kAreaHeight; ++row) {
            std::size_t at = static_cast<std::size_t>(y + row) * kFrameWidth + x;
            std::memcpy(&to[at], &from[at], kAreaWidth * 4);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Text_Baseline_CopyBalloonArea)->Name("Text/Baseline_CopyBalloonArea");

void Text_LayoutBalloon(benchmark::State& state) {
    CFont* font = BalloonFont();
    int glyphs = 0;
    quillon::platform::LayoutText(
        font, BalloonText(), 0, 0,
        [&](const quillon::platform::GlyphImage&, int, int) { ++glyphs; });
    for (auto _ : state) {
        int n = 0;
        quillon::platform::LayoutText(font, BalloonText(), 405, 305,
                                      [&](const quillon::platform::GlyphImage&, int, int) { ++n; });
        benchmark::DoNotOptimize(n);
    }
    state.counters["glyphs"] = glyphs;
}
BENCHMARK(Text_LayoutBalloon)->Name("Text/LayoutBalloon");

void Text_LayoutAndBlendBalloon(benchmark::State& state) {
    CFont* font = BalloonFont();
    std::vector<std::uint32_t> frame(kFrameWidth * kFrameHeight, 0x00336699);
    const std::uint32_t ink = 0x00FFFFFF;
    auto blend = [&](const quillon::platform::GlyphImage& g, int gx, int gy) {
        for (int y = 0; y < g.height; ++y) {
            const std::uint8_t* cov = g.coverage + static_cast<std::ptrdiff_t>(y) * g.pitch;
            std::uint32_t* row = &frame[static_cast<std::size_t>(gy + y) * kFrameWidth + gx];
            for (int x = 0; x < g.width; ++x) {
                std::uint32_t a = cov[x];
                if (a == 0) continue;
                std::uint32_t c = row[x];
                std::uint32_t out = 0;
                for (int s = 0; s < 24; s += 8) {
                    std::uint32_t k = (ink >> s) & 0xFF;
                    std::uint32_t d = (c >> s) & 0xFF;
                    out |= ((k * a + d * (255 - a) + 127) / 255) << s;
                }
                row[x] = out;
            }
        }
    };
    quillon::platform::LayoutText(font, BalloonText(), 405, 305, blend);  // warm the cache
    for (auto _ : state) {
        quillon::platform::LayoutText(font, BalloonText(), 405, 305, blend);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Text_LayoutAndBlendBalloon)->Name("Text/LayoutAndBlendBalloon");

// What the balloon really does: DrawText of its three lines into the
// off-screen picture through the picture's drawing surface.
void Text_DrawTextBalloon(benchmark::State& state) {
    CDibPicture frame;
    frame.Create(kFrameWidth, kFrameHeight, 32);
    frame.Fill(0x66);
    CDC* dc = frame.GetMemDC();
    CFont* old = dc->SelectObject(BalloonFont());
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(255, 255, 255));
    for (auto _ : state) {
        RECT box{405, 305, 405 + kAreaWidth - 10, 305 + kAreaHeight - 10};
        benchmark::DoNotOptimize(dc->DrawText(BalloonText(), &box, 0));
    }
    dc->SelectObject(old);
}
BENCHMARK(Text_DrawTextBalloon)->Name("Text/DrawTextBalloon");

}  // namespace
