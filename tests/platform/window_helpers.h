// A window that writes down what reaches it, a child window maker, a check
// of pixels and a temporary folder.
#pragma once

#include <quillon/testing.h>

#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "platform/PaintDC.h"
#include "platform/ToolTip.h"
#include "support/picture_files.h"

namespace wintest {

using quillon::testing::Harness;

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Recorder : public CWnd {
public:
    explicit Recorder(COLORREF c = RGB(10, 20, 30)) : fill(c) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(Seen{message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void OnPaint() override {
        CPaintDC dc(this);
        ++paints;
        paintRects.push_back(CRect(dc.m_ps.rcPaint));
        dc.FillSolidRect(&dc.m_ps.rcPaint, fill);
    }
    void OnMouseMove(UINT flags, CPoint point) override { Mouse("move", flags, point); }
    void OnLButtonDown(UINT flags, CPoint point) override { Mouse("ldown", flags, point); }
    void OnLButtonUp(UINT flags, CPoint point) override { Mouse("lup", flags, point); }
    void OnLButtonDblClk(UINT flags, CPoint point) override { Mouse("ldbl", flags, point); }
    void OnRButtonDown(UINT flags, CPoint point) override { Mouse("rdown", flags, point); }
    void OnRButtonUp(UINT flags, CPoint point) override { Mouse("rup", flags, point); }
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }
    void OnKeyDown(UINT key, UINT repeat, UINT /*flags*/) override {
        events.push_back("key " + std::to_string(key) + " x" + std::to_string(repeat));
    }

    // Messages of one kind that reached the window.
    int Count(UINT message) const {
        int n = 0;
        for (const Seen& s : seen)
            if (s.message == message) ++n;
        return n;
    }
    void Clear() {
        seen.clear();
        events.clear();
        timers.clear();
    }

    std::vector<Seen> seen;
    std::vector<std::string> events;  // "ldown 3,4 f1"
    std::vector<UINT_PTR> timers;
    std::vector<CRect> paintRects;
    int paints = 0;
    COLORREF fill;  // what a paint fills its area with

private:
    void Mouse(const char* what, UINT flags, CPoint p) {
        events.push_back(std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y) +
                         " f" + std::to_string(flags));
    }
};

// A window with a tool tip control fed by PreTranslateMessage, as a host
// window does it.
struct TipHost : Recorder {
    int OnCreate(LPCREATESTRUCT cs) override {
        if (CWnd::OnCreate(cs) == -1 || !tip.Create(this, 0)) return -1;
        tip.SendMessage(TTM_ACTIVATE, TRUE, 0);
        return 0;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
        return FALSE;
    }
    CToolTipCtrl tip;
};

// The tool tip once the pointer moved to (x, y) and rested `ms` there.
inline std::string TipAfter(Harness& h, int x, int y, unsigned ms) {
    h.MouseMove(x, y);
    h.AdvanceMs(ms);
    return h.ToolTipText();
}

// A visible child window at `r` of `parent`.
inline bool MakeChild(CWnd* child, CWnd* parent, const CRect& r, DWORD style = WS_VISIBLE) {
    return child->Create(nullptr, nullptr, style, r, parent, 0) != FALSE;
}

// Checks the colours of the harness's pixels at (x, y) once the paints that
// are pending have run.
inline void ExpectShown(Harness& h, std::initializer_list<std::tuple<int, int, COLORREF>> want) {
    h.AdvanceMs(0);
    for (auto [x, y, c] : want) EXPECT_EQ(h.Pixel(x, y), c) << x << "," << y;
}

// `n` of the harness's pixels from (x, y), rightwards or downwards.
inline std::vector<COLORREF> PixelRun(Harness& h, int x, int y, int n, bool down = false) {
    std::vector<COLORREF> out;
    for (int i = 0; i < n; ++i) out.push_back(down ? h.Pixel(x, y + i) : h.Pixel(x + i, y));
    return out;
}

using picturetest::TempDir;

}  // namespace wintest
