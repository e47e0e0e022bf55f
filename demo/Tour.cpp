#include "Tour.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include <quillon/testing.h>

#include "DemoHost.h"

namespace demo {
namespace {

CQProg Prog(int slot, int kind, CTime begin, CTime end, int weekly = 0) {
    CQProg p;
    p.SetSlotNo(slot);
    p.SetKind(kind);
    if (weekly) p.SetWeekly(weekly);
    p.SetTime(begin, end);
    return p;
}

// A hidden child whose first timer tick takes a picture, from inside the
// opening's own loop.
class OpeningShot : public CWnd {
public:
    OpeningShot(CWnd* parent, std::function<void()> take) : m_take(std::move(take)) {
        if (Create(nullptr, "", WS_CHILD, CRect(0, 0, 0, 0), parent, 0xC0DE))
            SetTimer(1, 250, nullptr);
    }
    ~OpeningShot() override {
        if (GetSafeHwnd()) DestroyWindow();
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == 1) {
            KillTimer(1);
            if (m_take) std::exchange(m_take, nullptr)();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::function<void()> m_take;
};

}  // namespace

int RunTour(const std::string& skinDir, const std::string& dir, const TourShot& onShot) {
    mkdir(dir.c_str(), 0755);
    quillon::testing::Harness h;
    const CTime now(2026, 12, 7, 9, 0, 0);  // a Monday morning
    h.SetNow(now);
    CSize size = SkinSize(skinDir);
    CWnd* parent = h.CreateParent(size.cx, size.cy);
    if (!parent) return -1;
    // The tour keeps nothing: its store lives and dies in the tour folder.
    Store store(dir + "/tour-schedule.txt");
    std::remove(store.Path().c_str());
    DemoScreen screen(parent, CRect(0, 0, size.cx, size.cy),
                      CString((skinDir + "TARVIK.INI").c_str()), CString(skinDir.c_str()), &store);
    int n = 0;
    auto shot = [&](const char* name) {
        char file[64];
        std::snprintf(file, sizeof file, "/%02d-%s.png", ++n, name);
        if (!h.SavePng(dir + file))
            std::fprintf(stderr, "quillon-demo: %s%s not written\n", dir.c_str(), file);
        if (onShot) onShot(h, name);
    };
    auto day = [&](int d, int hour, int minute) {
        return CTime(now.GetYear(), now.GetMonth(), now.GetDay() + d, hour, minute, 0);
    };

    screen.SetViewMode(0);
    // The opening is modal: a timer of its own catches the devices in flight.
    OpeningShot midway(parent, [&] { shot("opening"); });
    screen.Opening();
    h.AdvanceMs(300);
    shot("audio");
    // A week with a few reservations and yesterday's runs.
    screen.SetProgram(Prog(1, 0, day(1, 10, 0), day(1, 11, 0)));
    screen.SetProgram(Prog(2, 2, day(0, 7, 0), day(0, 7, 45), 0x3E));
    screen.SetProgram(Prog(3, 1, day(2, 20, 0), day(2, 21, 30)));
    CQProgLog ran;
    static_cast<CQProg&>(ran) = Prog(4, 0, day(-1, 18, 0), day(-1, 19, 0));
    ran.m_nLogState = 0;
    ran.SetLogTime(CTimeRect(day(-1, 18, 0), day(-1, 19, 0)));
    screen.AddLog(ran);
    screen.SetViewMode(1);
    h.AdvanceMs(300);
    shot("luncher");
    screen.SetViewMode(2);
    h.AdvanceMs(300);
    shot("timer");

    // MD dragged onto tomorrow afternoon: the balloon proposes, the drop reserves.
    CPoint md = h.ItemCenter(screen, "MD");
    CPoint target = h.CalendarPoint(screen, day(1, 15, 0));
    h.LButtonDown(md.x, md.y);
    for (int i = 1; i <= 8; ++i)
        h.MouseMove(md.x + (target.x - md.x) * i / 8, md.y + (target.y - md.y) * i / 8, MK_LBUTTON);
    h.AdvanceMs(200);
    shot("device-drag");
    h.LButtonUp(target.x, target.y);
    h.AdvanceMs(200);
    shot("reserved");

    // CD/DVD over this morning, already past: the balloon names the rule.
    CPoint cd = h.ItemCenter(screen, "CD/DVD");
    CPoint past = h.CalendarPoint(screen, day(0, 6, 0));
    h.LButtonDown(cd.x, cd.y);
    for (int i = 1; i <= 8; ++i)
        h.MouseMove(cd.x + (past.x - cd.x) * i / 8, cd.y + (past.y - cd.y) * i / 8, MK_LBUTTON);
    h.AdvanceMs(200);
    shot("refused-drag");
    h.MouseMove(cd.x, cd.y, MK_LBUTTON);
    h.LButtonUp(cd.x, cd.y);

    // Tomorrow's CD reservation moved two hours later.
    CPoint bar = h.CalendarPoint(screen, day(1, 10, 30));
    CPoint later = h.CalendarPoint(screen, day(1, 12, 30));
    h.LButtonDown(bar.x, bar.y);
    for (int i = 1; i <= 6; ++i) h.MouseMove(bar.x + (later.x - bar.x) * i / 6, bar.y, MK_LBUTTON);
    h.AdvanceMs(200);
    shot("program-drag");
    h.LButtonUp(later.x, later.y);

    // CD/DVD dubbed onto MD, with the optical link showing.
    screen.SetViewMode(0);
    screen.SetStateDubbing("CD/DVD", "MD");
    h.AdvanceMs(700);
    shot("dubbing");
    std::remove(store.Path().c_str());
    return n;
}

}  // namespace demo

namespace demo {

void PrintLayout(const std::string& skinDir) {
    // Read before the harness replaces the clock: the rows must be the real
    // window's, which counts from the real today.
    const CTime now = CTime::GetCurrentTime();
    quillon::testing::Harness h;
    h.SetNow(now);
    CSize size = SkinSize(skinDir);
    CWnd* parent = h.CreateParent(size.cx, size.cy);
    if (!parent) return;
    Store store("");
    DemoScreen screen(parent, CRect(0, 0, size.cx, size.cy),
                      CString((skinDir + "TARVIK.INI").c_str()), CString(skinDir.c_str()), &store);
    screen.SetViewMode(2);
    h.AdvanceMs(0);
    for (const char* name : {"CD/DVD", "MD", "FM TUNER", "NKX", "SOUND CHIP", "SPEAKER", "OPT IN",
                             "OPT OUT", "NEWMAKE", "TRASH", "CHANGE"}) {
        CPoint p = h.ItemCenter(screen, name);
        if (p.x >= 0) std::printf("%s %d %d\n", name, static_cast<int>(p.x), static_cast<int>(p.y));
    }
    for (int days = 0; days < 7; ++days)
        for (int hour = 0; hour < 24; ++hour) {
            CTime t(now.GetYear(), now.GetMonth(), now.GetDay() + days, hour, 0, 0);
            CPoint p = h.CalendarPoint(screen, t);
            if (p.x >= 0)
                std::printf("at %d %02d:00 %d %d\n", days, hour, static_cast<int>(p.x),
                            static_cast<int>(p.y));
        }
}

}  // namespace demo
