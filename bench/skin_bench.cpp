// The default skin at work, at its own size (1024 x 768): a full repaint of
// the TIMER view with 8 programs and 50 logs; a device dragged over the
// calendar and a program bar dragged along it, each move the whole road
// (dispatch, hit test, the proposal or the changed program, the rules, the
// drag state, the repaint with ghost and balloon); the construction of the
// screen with every picture, and the decoding of those pictures alone. The
// baseline is one memcpy of a 1024 x 768 frame.
#ifdef QUILLON_BENCH_SKIN

#include <benchmark/benchmark.h>
#include <dirent.h>

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/frame_copy.h"
#include "demo/SkinSize.h"
#include "frame/pictures/DibPicture.h"

namespace {

// Another skin folder (with its trailing '/') may be measured instead.
const std::string kSkin = std::getenv("QUILLON_BENCH_SKIN_DIR")
                              ? std::getenv("QUILLON_BENCH_SKIN_DIR")
                              : QUILLON_BENCH_SKIN;

struct SkinScene {
    quillon::testing::Harness h;
    std::unique_ptr<CQMainScreen> screen;
    CSize size = demo::SkinSize(kSkin);
    CTime monday = CTime(2025, 1, 6, 0, 0, 0);

    SkinScene() {
        h.SetNow(CTime(2025, 1, 6, 6, 0, 0));
        CWnd* parent = h.CreateParent(size.cx, size.cy);
        CString ini((kSkin + "TARVIK.INI").c_str()), pictures(kSkin.c_str());
        screen = std::make_unique<CQMainScreen>("QuillonBench", parent,
                                                CRect(0, 0, size.cx, size.cy), &ini, &pictures);
        screen->SetViewMode(2);
        screen->SetScheduleDrawDay(monday);
        for (int slot = 1; slot <= 8; ++slot) {
            CQProg p;
            p.SetSlotNo(slot);
            p.SetKind(slot % 3);
            const CTime begin = At(slot % 6, 7 + slot, 0);
            p.SetTime(begin, begin + CTimeSpan(slot == 3 ? 600 : 5400));
            if (slot == 8) p.SetWeekly(0x22);
            screen->SetProgram(p);
        }
        for (int i = 0; i < 50; ++i) {
            CQProgLog log;
            log.SetSlotNo(1 + i % 8);
            log.SetKind(i % 3);
            const CTime begin = At(i % 6, 0, 0) + CTimeSpan(i * 1700 % 80000);
            log.SetTime(begin, begin + CTimeSpan(1200 + i * 37));
            log.SetLogTime(CTimeRect(begin, begin + CTimeSpan(1200 + i * 37)));
            log.m_nLogState = i % 2;
            screen->AddLog(log);
        }
        h.AdvanceMs(0);
    }
    ~SkinScene() { screen.reset(); }
    CTime At(int day, int hour, int minute) const {
        return CTime(2025, 1, 6 + day, hour, minute, 0);
    }
    CPoint Point(int day, int hour, int minute) {
        return h.CalendarPoint(*screen, At(day, hour, minute));
    }
    // A drag held from `from`, one small step taken so it has begun.
    bool Grab(CPoint from) {
        if (from.x < 0) return false;
        h.MouseMove(from.x, from.y);
        h.LButtonDown(from.x, from.y);
        h.MouseMove(from.x + 1, from.y + 5, MK_LBUTTON);
        return true;
    }
};

void Skin_Baseline_Memcpy(benchmark::State& state) {
    CopyOneFrame(state);
}
BENCHMARK(Skin_Baseline_Memcpy);

void Skin_TimerFullRepaint(benchmark::State& state) {
    SkinScene s;
    for (auto _ : state) s.screen->AllRedraw(true);
}
BENCHMARK(Skin_TimerFullRepaint)->Unit(benchmark::kMicrosecond);

void Skin_DeviceDragMove(benchmark::State& state) {
    SkinScene s;
    if (!s.Grab(s.h.ItemCenter(*s.screen, "MD"))) return state.SkipWithError("no MD");
    int i = 0;
    for (auto _ : state) {
        // Free times, times that clash with a program, the past.
        CPoint p = s.Point(i % 5, 5 + (i * 7) % 16, (i * 13) % 60);
        ++i;
        s.h.MouseMove(p.x, p.y, MK_LBUTTON);
    }
    s.h.LButtonUp(0, 0);
}
BENCHMARK(Skin_DeviceDragMove)->Unit(benchmark::kMicrosecond);

void Skin_ProgramDragMove(benchmark::State& state) {
    SkinScene s;
    // Slot 1's bar: day 1, 08:00 to 09:30, grabbed by its body.
    if (!s.Grab(s.Point(1, 8, 45))) return state.SkipWithError("no calendar");
    int i = 0;
    for (auto _ : state) {
        CPoint p = s.Point(1 + i % 3, 5 + (i * 7) % 14, (i * 13) % 60);
        ++i;
        s.h.MouseMove(p.x, p.y, MK_LBUTTON);
    }
    s.h.LButtonUp(0, 0);
}
BENCHMARK(Skin_ProgramDragMove)->Unit(benchmark::kMicrosecond);

void Skin_Construct(benchmark::State& state) {
    quillon::testing::Harness h;
    const CSize size = demo::SkinSize(kSkin);
    CWnd* parent = h.CreateParent(size.cx, size.cy);
    CString ini((kSkin + "TARVIK.INI").c_str()), pictures(kSkin.c_str());
    for (auto _ : state) {
        CQMainScreen screen("QuillonBench", parent, CRect(0, 0, size.cx, size.cy), &ini, &pictures);
        benchmark::DoNotOptimize(&screen);
    }
}
BENCHMARK(Skin_Construct)->Unit(benchmark::kMillisecond);

// Every picture file of the skin decoded once, as the items load them.
void Skin_DecodeEveryPicture(benchmark::State& state) {
    std::vector<std::string> files;
    if (DIR* d = opendir(kSkin.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            auto dot = n.rfind('.');
            std::string ext = dot == std::string::npos ? "" : n.substr(dot + 1);
            if (ext == "bmp" || ext == "gif" || ext == "png") files.push_back(kSkin + n);
        }
        closedir(d);
    }
    quillon::testing::Harness h;
    for (auto _ : state) {
        for (const std::string& f : files) {
            CDibPicture p;
            benchmark::DoNotOptimize(p.Load(f.c_str()));
        }
    }
    state.counters["pictures"] = static_cast<double>(files.size());
}
BENCHMARK(Skin_DecodeEveryPicture)->Unit(benchmark::kMillisecond);

}  // namespace

#endif  // QUILLON_BENCH_SKIN
