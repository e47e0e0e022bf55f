// The headless test harness for Quillon and for hosts testing their screens.
//
// While a Harness lives, the wall clock and the millisecond tick are fakes that
// only move when the test moves them, the headless backend shows every window
// in memory and takes the scripted input below, message boxes are recorded
// instead of shown (each answers as SetMessageBoxAnswer says, IDOK by
// default), nothing is printed, and the local time zone is Asia/Tokyo unless
// SetTimeZone picks another. Everything is restored when it is destroyed, and
// windows still open then are destroyed. One at a time.
//
//     Harness h;
//     CWnd* parent = h.CreateParent(800, 600);
//     MyScreen screen("QuillonMain", parent, CRect(0, 0, 800, 600), &ini, &dir);
//     h.Click(h.ItemCenter(screen, "CD"));
//     // MD dropped on tomorrow's row at 15:00.
//     CPoint at = h.CalendarPoint(screen, h.Now() + CTimeSpan(1, 6, 0, 0));
//     h.Drop(h.ItemCenter(screen, "MD"), at);
//     EXPECT_TRUE(h.MatchesGolden("md_reserved.png", 2));
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <quillon/quillon.h>

namespace quillon {
namespace testing {

struct MessageBoxRecord {
    std::string text;     // bytes exactly as shown (Shift-JIS)
    std::string caption;  // bytes exactly as shown
    UINT type = 0;
};

class Harness {
public:
    Harness();
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // Wall clock. Starts at 2025-01-06 09:00:00 local time (a Monday).
    void SetNow(CTime now);
    CTime Now() const;
    // Moves the wall clock and the tick together, in steps of 100 ms or less,
    // delivering after each step the timers and paints that fell due.
    void AdvanceMs(std::uint32_t ms);
    std::uint32_t Tick() const;

    // Any TZ value, e.g. "America/New_York".
    void SetTimeZone(const std::string& tz);

    // A top-level window whose client area is w x h, owned by the harness;
    // the input and output calls below work on the one made last. Null when
    // the size cannot be made.
    CWnd* CreateParent(int w, int h);

    // Input in the parent's client coordinates. Each call pumps the queue
    // until it is idle; paints come out on the parent's picture.
    void MouseMove(int x, int y, UINT flags = 0);
    void LButtonDown(int x, int y, UINT flags = MK_LBUTTON);
    void LButtonUp(int x, int y, UINT flags = 0);
    void LButtonDblClk(int x, int y, UINT flags = MK_LBUTTON);
    void RButtonDown(int x, int y, UINT flags = MK_RBUTTON);
    void RButtonUp(int x, int y, UINT flags = 0);
    // Gestures made of the calls above, as a hand makes them. Click: the
    // pointer moves to `at`, the left button goes down and up there. Hold: a
    // press at `from`, a move 12 pixels right and down (past the drag
    // threshold of 10 right or down, 11 left or up), then to `to` with the
    // button held, and the paints that fell due: what shows while dragging.
    // Drop: Hold, then the release at `to`.
    void Click(CPoint at, UINT flags = 0);
    void Hold(CPoint from, CPoint to);
    void Drop(CPoint from, CPoint to);
    // `delta` as the window system gives it (120 a notch), at the last
    // pointer position.
    void Wheel(short delta);
    // `flags`: MK_SHIFT, MK_CONTROL held with the key.
    void KeyDown(UINT vk, UINT flags = 0);
    // The pointer leaves the parent window.
    void MouseLeave();
    // The user closes the parent window: it gets WM_CLOSE, which destroys
    // it unless handled; with the last window gone the message loop
    // (RunMessageLoop) ends with exit code 0.
    void CloseParent();
    // Another program takes the keyboard: the mouse capture is released, the
    // focused window gets WM_KILLFOCUS and the tool tip hides. The focus
    // comes back with the next key or button press.
    void LoseFocus();

    // What the parent presents; 0xFFFFFFFF outside it or without a parent.
    COLORREF Pixel(int x, int y);
    bool SavePng(const std::string& path);
    // 1004 or 1006 for the library's cursors, else the IDC_* id (32512
    // arrow, 32648 no, 32514 wait); 0 when the cursor is hidden.
    int CursorId();
    // The tip shown now (Shift-JIS), empty when none.
    std::string ToolTipText();
    // Sound files played, in order (an empty name for the default sound).
    std::vector<std::string> Sounds();
    // The texts (Shift-JIS bytes) given to DrawText in the last paint of the
    // parent and of each of its child windows, parent first, then the
    // children in creation order, each paint's texts in the order drawn.
    std::vector<std::string> DrawnTexts();

    std::vector<MessageBoxRecord> MessageBoxes() const;
    // Runs while each box is up, after the box's modal loop has dispatched
    // what was waiting: input sent from it is nested input of that loop.
    void OnMessageBox(std::function<void(const std::string& text, const std::string& caption)> fn);
    void SetMessageBoxAnswer(int answer);

    // The centre of the item with that name, in the parent's client
    // coordinates; (-1, -1) when there is none.
    CPoint ItemCenter(CQMainScreen& screen, const char* name);
    // Where the calendar shows the time `t` (the middle of its day row's
    // height), in the parent's client coordinates; (-1, -1) when no row
    // shows it or there is no calendar.
    CPoint CalendarPoint(CQMainScreen& screen, CTime t);

    // Compares the parent's picture with a PNG file, channel by channel,
    // allowing `tolerance` in each. On a difference it writes
    // <name>_actual.png and <name>_diff.png beside it (differing pixels red
    // over a dimmed grey copy) and prints the first differing pixel on
    // stderr. A missing golden is a failure; with QUILLON_UPDATE_GOLDEN=1 in
    // the environment the golden is written instead and the call passes.
    bool MatchesGolden(const std::string& png, int tolerance);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace testing
}  // namespace quillon
