// A program bar dragged across the calendar: every move computes the changed
// program, checks it against the reservation rules and repaints the whole
// 1024 x 768 screen, whose calendar shows 14 rows with 8 programs and 50
// logs. And a device dragged over it: every move hit-tests, makes the
// proposal, sets the new drag state and repaints the screen with the
// dragging frame and the balloon. The baseline is one memcpy of such a frame.
#include <benchmark/benchmark.h>

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/frame_copy.h"
#include "platform/decode/PictureDecoder.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A 24-bit BMP with `level(x, y)` in every channel.
template <class F>
void WriteGrey(const std::string& path, int w, int h, F level) {
    quillon::platform::WriteBmpOf(path.c_str(), w, h, [&](int x, int y) {
        return static_cast<COLORREF>(level(x, y)) * 0x010101u;
    });
}

struct DragScene {
    quillon::testing::Harness h;
    std::unique_ptr<CQMainScreen> screen;
    std::string dir;

    // `device`: a device, a free slot, the balloon and the dragging frame
    // too, and the device grabbed instead of the bar.
    explicit DragScene(bool device = false) {
        char name[] = "/tmp/quillon-bench-cal-XXXXXX";
        const char* made = mkdtemp(name);
        dir = std::string(made != nullptr ? made : "/tmp") + "/";
        WriteGrey(dir + "bg.bmp", 64, 64, [](int x, int y) { return (x * 3 + y) & 0xFF; });
        // Glyphs and weekday pictures: anti-aliased-looking grey shapes.
        auto glyph = [](int x, int y) { return ((x + y) % 3 == 0) ? 255 : 96; };
        const char* names[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "slash"};
        for (const char* n : names) WriteGrey(dir + "w" + n + ".bmp", 7, 11, glyph);
        std::string ini =
            "BG\nBMP\t\"bg.bmp\"\nEND\nCALENDAR\nVIEW\tTIMER\nPOSITION\t10,100\n"
            "SIZE\t1000,490\nBMPWEEK\t\"w\"\n";
        for (int d = 0; d < 7; ++d) {
            WriteGrey(dir + "day" + std::to_string(d) + ".bmp", 20, 14, glyph);
            ini += "BMPTEXT\t\"day" + std::to_string(d) + ".bmp\"\n";
        }
        ini += "END\n";
        if (device) {
            WriteGrey(dir + "icon.bmp", 40, 40, glyph);
            WriteGrey(dir + "balloon.bmp", 140, 50, [](int, int) { return 255; });
            ini +=
                "DEVICE\nNAME\t\"MD\"\nVIEW\tTIMER\nPOSITION\t900,650\nS\tICON\t\"icon.bmp\"\n"
                "S\tICONANIME\t\"icon.bmp\"\nS\tDEVICENAME\t\"day1.bmp\"\nDRAG\tCD/DVD\t0\t0\nEND\n"
                "SLOTBUTTON\nVIEW\tTIMER\nPOSITION\t10,650\nSLOTNO\t9\nEND\n"
                "CALENDARBALLOONHELP\nFRAME\tL\tSURFACE\t\"balloon.bmp\"\n"
                "FRAME\tL\tSHADOW\t\"balloon.bmp\"\nFRAME\tR\tSURFACE\t\"balloon.bmp\"\n"
                "FRAME\tR\tSHADOW\t\"balloon.bmp\"\nEND\nDRAGINGITEMFRAME\nEND\n";
        }
        WriteFile(dir + "TARVIK.INI", ini);
        CWnd* parent = h.CreateParent(kWidth + 6, kHeight + 6);
        CString iniPath(dir + "TARVIK.INI"), pictures(dir);
        screen = std::make_unique<CQMainScreen>(
            "QuillonBench", parent, CRect(0, 0, kWidth + 6, kHeight + 6), &iniPath, &pictures);
        screen->SetViewMode(2);
        screen->SetCalendarBeginWeek(1);
        screen->SetScheduleDrawDay(CTime(2025, 1, 6, 0, 0, 0));
        // Eight programs over the two weeks (one a short ladder, one weekly).
        for (int slot = 1; slot <= 8; ++slot) {
            CQProg p;
            p.SetSlotNo(slot);
            p.SetKind(slot % 5);
            const int day = 6 + slot;
            const int hour = 6 + slot;
            p.SetTime(
                CTime(2025, 1, day, hour, 0, 0),
                CTime(2025, 1, day, hour, slot == 3 ? 10 : 0, 0) + CTimeSpan(slot == 3 ? 0 : 5400));
            if (slot == 8) p.SetWeekly(0x22);
            screen->SetProgram(p);
        }
        for (int i = 0; i < 50; ++i) {
            CQProgLog log;
            log.SetSlotNo(1 + i % 8);
            log.SetKind(0);
            const CTime begin = CTime(2025, 1, 6 + i % 14, 0, 0, 0) + CTimeSpan(i * 1700 % 80000);
            log.SetTime(begin, begin + CTimeSpan(1200 + i * 37));
            log.SetLogTime(CTimeRect(begin, begin + CTimeSpan(1200 + i * 37)));
            log.m_nLogState = i % 2;
            screen->AddLog(log);
        }
        h.AdvanceMs(0);
        // Grab slot 1's bar (7 January, 07:00 to 08:30) by its body, or the
        // device.
        const int x = device ? 3 + 920 : X(7 * 60 + 45), y = device ? 3 + 670 : RowY(1);
        h.MouseMove(x, y);
        h.LButtonDown(x, y);
        h.MouseMove(x + 1, y + 5, MK_LBUTTON);
    }
    ~DragScene() {
        h.LButtonUp(X(0), RowY(1));
        screen.reset();
    }
    // Parent coordinates of a time of day (minutes) on a row.
    static int X(int minutes) { return 3 + 10 + 111 + minutes * 889 / 1440; }
    static int RowY(int row) { return 3 + 100 + 14 + 34 * row + 12; }
};

void Calendar_Baseline_Memcpy(benchmark::State& state) {
    CopyOneFrame(state);
}
BENCHMARK(Calendar_Baseline_Memcpy);

void Calendar_ProgramDragMove(benchmark::State& state) {
    DragScene s;
    int i = 0;
    for (auto _ : state) {
        // Along the row and onto the next ones: moves, stretches nothing,
        // some positions clash with other programs.
        const int row = 1 + (i % 3);
        const int minutes = 300 + (i * 37) % 900;
        ++i;
        s.h.MouseMove(DragScene::X(minutes), DragScene::RowY(row), MK_LBUTTON);
    }
}
BENCHMARK(Calendar_ProgramDragMove)->Unit(benchmark::kMicrosecond);

void Calendar_DeviceDragMove(benchmark::State& state) {
    DragScene s(true);
    int i = 0;
    for (auto _ : state) {
        // Over the rows: free times, times that clash with a program, the past.
        const int row = i % 4;
        const int minutes = 300 + (i * 37) % 900;
        ++i;
        s.h.MouseMove(DragScene::X(minutes), DragScene::RowY(row), MK_LBUTTON);
    }
}
BENCHMARK(Calendar_DeviceDragMove)->Unit(benchmark::kMicrosecond);

}  // namespace
