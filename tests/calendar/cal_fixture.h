// A main screen built from a small description with a real calendar: 975
// pixels wide in the TIMER view (a time line of 864 pixels: 100 seconds a
// pixel) and 1000 in AUDIO, seven rows, on a black background, with digit
// glyphs whose grey level names the digit, weekday pictures, and a
// device "MD" that can be dragged onto the rows. The host records every
// calendar callback.
#pragma once

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calendar/QItemCal.h"
#include "calendar/QItemCalDay.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"
#include "frame/QMainScreenInternal.h"
#include "support/picture_files.h"
#include "tests/schedule/sched_helpers.h"

namespace caltest {

using quillon::testing::Harness;
using Log = std::vector<std::string>;

inline std::string Str(CTime t) {
    return t.Format("%Y-%m-%d %H:%M").str();
}
inline std::string Str(const CTimeRect& r) {
    return Str(r.GetBegin()) + " " + Str(r.GetEnd());
}
using schedtest::S;  // Shift-JIS bytes of a UTF-8 text, as DrawText gets them
inline CTime Date(int y, int m, int d, int h = 0, int mi = 0) {
    return CTime(y, m, d, h, mi, 0);
}

class RecordingHost : public CQMainScreen {
public:
    using CQMainScreen::CQMainScreen;
    Log log;
    bool consent = true;
    std::function<void()> onChange;  // runs inside OnCalendar_ProgChange

    void OnCalendar_DayLButtonDblClk(CTime t) override { log.push_back("day " + Str(t)); }
    void OnCalendar_ProgLButtonDblClk(CQProg* p) override { Note("prog dblclk", *p); }
    void OnCalendar_ProgRButtonDown(CQProg p) override { Note("prog rdown", p); }
    void OnCalendar_ProgRButtonUp(CQProg p) override { Note("prog rup", p); }
    void OnCalendar_LogLButtonDblClk(CQProgLog l) override { Note("log dblclk", l); }
    void OnCalendar_LogRButtonDown(CQProgLog l) override { Note("log rdown", l); }
    void OnCalendar_LogRButtonUp(CQProgLog l) override { Note("log rup", l); }
    void OnCalendar_DropOut(CString name, CTime b, CTime e) override {
        log.push_back("drop " + name.str() + " " + Str(b) + " " + Str(e));
        CQMainScreen::OnCalendar_DropOut(name, b, e);
    }
    bool OnCalendar_ProgChange(CQProg* p) override {
        Note("change", *p);
        if (onChange) onChange();
        return consent;
    }

private:
    void Note(const std::string& what, const CQProg& p) {
        log.push_back(what + " " + std::to_string(p.GetSlotNo()) + " " + Str(p.GetBeginTime()) +
                      "-" + p.GetEndTime().Format("%H:%M").str());
    }
};

// The grey level of digit d's glyph, and of the slash.
inline int DigitLevel(int d) {
    return 60 + 20 * d;
}
constexpr int kSlashLevel = 250;
constexpr int kInset = 3;  // the host window's client edge
// Rows of the default scene: 0 is Sunday 5 January 2025, today is row 1.
constexpr int kSun = 0, kMon = 1, kTue = 2, kWed = 3, kThu = 4;
// The cursors over the rows.
constexpr int kHand = 1004, kResize = 1006, kNo = 32648, kArrow = 32512;

// Host: the recording host, or a host derived from it.
template <class Host = RecordingHost>
struct CalSceneOf {
    Harness h;
    picturetest::TempDir dir;
    CWnd* parent = nullptr;
    std::unique_ptr<Host> screen;

    // `calendarKeys` go into the CALENDAR section after its placements,
    // `tail` (more sections and top-level keys) at the end of the file.
    explicit CalSceneOf(int height = 252, const std::string& calendarKeys = DefaultKeys(),
                        const char* tz = nullptr, const std::string& tail = "") {
        if (tz != nullptr) h.SetTimeZone(tz);
        WritePictures();
        Open(310, "BG\nBMP\t\"bg.bmp\"\nEND\nCALENDAR\nVIEW\tTIMER\nSIZE\t975," +
                      std::to_string(height) + "\nVIEW\tAUDIO\nSIZE\t1000," +
                      std::to_string(height) + "\n" + calendarKeys +
                      "END\nDEVICE\nNAME\t\"MD\"\nVIEW\tTIMER\nPOSITION\t900,270\n"
                      "SIZE\t40,20\nDRAG\tCD/DVD\t0\t0\nEND\n" +
                      tail);
    }
    struct Unopened {};
    explicit CalSceneOf(Unopened) {}
    // A parent 1010 pixels wide and `height` high, the screen from `ini`
    // filling it, in TIMER.
    void Open(int height, const std::string& ini) {
        parent = h.CreateParent(1010, height);
        dir.Write("TARVIK.INI", ini);
        CString iniPath(dir.Path("TARVIK.INI")), pictures(dir.Path(""));
        screen = std::make_unique<Host>("QuillonTest", parent, CRect(0, 0, 1006, height - 4),
                                        &iniPath, &pictures);
        screen->SetViewMode(2);
        h.AdvanceMs(0);
    }
    static std::string DefaultKeys() {
        std::string keys = "BMPWEEK\t\"w\"\n";
        for (int d = 0; d < 7; ++d) keys += "BMPTEXT\t\"day" + std::to_string(d) + ".bmp\"\n";
        return keys;
    }
    void WritePictures() {
        dir.Write("bg.bmp", picturetest::MakeBmp24(1, 1, {0x000000}));
        for (int d = 0; d < 10; ++d)
            dir.Write("w" + std::to_string(d) + ".bmp",
                      picturetest::MakeFlatBmp(3, 5, DigitLevel(d)));
        dir.Write("wslash.bmp", picturetest::MakeFlatBmp(3, 5, kSlashLevel));
        // Balloons: the L surface opaque, the R one half covering, shadows
        // 5 pixels larger, an icon.
        dir.Write("bl.bmp", picturetest::MakeFlatBmp(140, 50, 255));
        dir.Write("br.bmp", picturetest::MakeFlatBmp(140, 50, 128));
        dir.Write("bs.bmp", picturetest::MakeFlatBmp(145, 55, 255));
        dir.Write("icon.bmp", picturetest::MakeFlatBmp(10, 10, 255));
        // Weekday d: a 4 x 4 square of level 40 + d.
        for (int d = 0; d < 7; ++d)
            dir.Write("day" + std::to_string(d) + ".bmp", picturetest::MakeFlatBmp(4, 4, 40 + d));
    }

    CQItemCal* Cal() {
        return dynamic_cast<CQItemCal*>(CQMainScreenInternal::GetCalendar(*screen));
    }
    CQItemCalDay* Row(int i) { return Cal()->GetDay(i); }
    // Calendar coordinates to the parent's, where the harness works.
    static int X(int x) { return kInset + x; }
    static int Y(int y) { return kInset + y; }
    // The middle of row i at time-line offset d.
    static int RowY(int i) { return Y(14 + 34 * i + 12); }
    static int LineX(int d) { return X(CQItemCal::kLabelWidth + d); }
    // The offset of a local time of day on the 100-second-a-pixel rows.
    static int At(int hour, int minute) { return (hour * 3600 + minute * 60) / 100; }
    static int LineX(int hour, int minute) { return LineX(At(hour, minute)); }

    // Moves the pointer there and lets the screen paint.
    void Hover(CPoint p) {
        h.MouseMove(p.x, p.y);
        h.AdvanceMs(0);
    }
    // Slot `slot`'s program as "begin-end", or "none".
    std::string ProgStr(int slot) {
        CQProg p;
        if (!screen->GetProgram(slot, &p)) return "none";
        return Str(p.GetBeginTime()) + "-" + p.GetEndTime().Format("%H:%M").str();
    }
    Log TakeLog() {
        Log l;
        l.swap(screen->log);
        return l;
    }
    COLORREF Pixel(int x, int y) { return h.Pixel(x, y); }
};

using CalScene = CalSceneOf<>;

using schedtest::LogOf;
using schedtest::Single;
using schedtest::Weekly;

}  // namespace caltest
