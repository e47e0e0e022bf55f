// A host window with a hand-built item tree under the headless harness, and
// items that write down every virtual call they get.
#pragma once

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/ItemAnimation.h"
#include "frame/ItemBackground.h"
#include "frame/ItemBase.h"
#include "frame/ItemButton.h"
#include "frame/QMainWnd.h"

namespace frametest {

using quillon::testing::Harness;

// Every call, in order, as "name:what args".
using Log = std::vector<std::string>;

inline std::string NameOf(const CItem* item);

// A screen that remembers the background's reports.
class RecordingScreen : public CQMainScreen {
public:
    RecordingScreen(CWnd* parent, Log* log)
        : CQMainScreen("QuillonTest", parent, CRect(0, 0, 10, 10), &MissingIni(), nullptr),
          m_log(log) {}
    void OnLButtonDblClk(CString name, unsigned int flags, CPoint p) override {
        Note("dblclk", name, flags, p);
    }
    void OnLButtonDown(CString name, unsigned int flags, CPoint p) override {
        Note("down", name, flags, p);
        if (onDown) onDown();
    }
    void OnLButtonUp(CString name, unsigned int flags, CPoint p) override {
        Note("up", name, flags, p);
    }
    std::function<void()> onDown;

private:
    static CString& MissingIni() {
        static CString path("/nonexistent/quillon/TARVIK.INI");
        return path;
    }
    void Note(const char* what, const CString& name, unsigned flags, CPoint p) {
        m_log->push_back("screen:" + std::string(what) + " " + name.str() + " " +
                         std::to_string(flags) + " " + std::to_string(p.x) + "," +
                         std::to_string(p.y));
    }
    Log* m_log;
};

// A filled item that records its calls; `logMoves` can be turned off where
// mouse moves would only add noise.
class RecItem : public CItemBase {
public:
    RecItem(std::string name, Log* log, COLORREF fill) : m_name(std::move(name)), m_log(log) {
        SetFillColor(fill);
    }
    const std::string& Name() const { return m_name; }

    void Draw(CDibPicture* t, int x, int y, int l, int tp, int r, int b) override {
        ++draws;
        CItemBase::Draw(t, x, y, l, tp, r, b);
    }
    void OnMouseMove(UINT f, int x, int y, CItem* cap) override {
        if (logMoves) Note("move " + Pt(x, y) + " cap=" + NameOf(cap));
        CItemBase::OnMouseMove(f, x, y, cap);
    }
    void OnMouseEnter(UINT f, int x, int y, CItem* cap) override {
        Note("enter " + Pt(x, y) + " cap=" + NameOf(cap));
        CItemBase::OnMouseEnter(f, x, y, cap);
    }
    void OnMouseLeave(CItem* cap) override {
        Note("leave cap=" + NameOf(cap));
        CItemBase::OnMouseLeave(cap);
    }
    void OnLButtonDblClk(UINT f, int x, int y) override {
        Note("dblclk " + Pt(x, y));
        CItemBase::OnLButtonDblClk(f, x, y);
    }
    void OnLButtonDown(UINT f, int x, int y) override {
        Note("down " + Pt(x, y));
        CItemBase::OnLButtonDown(f, x, y);
    }
    void OnLButtonUp(UINT f, int x, int y) override {
        Note("up " + Pt(x, y));
        CItemBase::OnLButtonUp(f, x, y);
    }
    void OnRButtonDown(UINT f, int x, int y) override {
        Note("rdown " + Pt(x, y));
        CItemBase::OnRButtonDown(f, x, y);
    }
    void OnRButtonUp(UINT f, int x, int y) override {
        Note("rup " + Pt(x, y));
        CItemBase::OnRButtonUp(f, x, y);
    }
    void OnItemTimer() override {
        timerTicks.push_back(ticks + 1);
        CItemBase::OnItemTimer();
    }
    void OnTick() override { ++ticks; }
    void OnBeginDrag(DragArea a) override { Note("begindrag " + std::to_string(a.id)); }
    void OnEndDrag(int x, int y) override { Note("enddrag " + Pt(x, y)); }
    void OnDropIn(UINT f, int x, int y, CItem* dragged) override {
        Note("dropin " + std::to_string(f) + " " + Pt(x, y) + " from=" + NameOf(dragged));
    }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override {
        Note("key " + std::to_string(key));
        CItemBase::OnKeyDown(key, repeat, flags);
    }
    void OnMouseWheel(UINT f, short delta) override {
        Note("wheel " + std::to_string(delta));
        CItemBase::OnMouseWheel(f, delta);
    }

    bool logMoves = true;
    int draws = 0;
    int ticks = 0;                // OnTick calls so far
    std::vector<int> timerTicks;  // the tick (1-based) of each OnItemTimer

private:
    static std::string Pt(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    void Note(const std::string& s) {
        if (m_log != nullptr) m_log->push_back(m_name + ":" + s);
    }
    std::string m_name;
    Log* m_log;
};

class RecButton : public CItemButton {
public:
    RecButton(std::string name, Log* log) : m_name(std::move(name)), m_log(log) {}
    const std::string& Name() const { return m_name; }
    void OnButtonClick(UINT f, int x, int y) override {
        m_log->push_back(m_name + ":click " + std::to_string(f) + " " + std::to_string(x) + "," +
                         std::to_string(y));
    }
    void OnDragRepeat(CItem* held) override {
        m_log->push_back(m_name + ":repeat " + NameOf(held));
    }

private:
    std::string m_name;
    Log* m_log;
};

inline std::string NameOf(const CItem* item) {
    if (item == nullptr) return "-";
    if (auto* r = dynamic_cast<const RecItem*>(item)) return r->Name();
    if (auto* b = dynamic_cast<const RecButton*>(item)) return b->Name();
    if (dynamic_cast<const CItemBackground*>(item) != nullptr) return "bg";
    return "?";
}

// Counts the paints of the host window.
class CountingWnd : public CQMainWnd {
public:
    int paints = 0;

protected:
    void OnPaint() override {
        ++paints;
        CQMainWnd::OnPaint();
    }
};

// The harness, a parent of 320 x 240, a main screen (without a description
// file: its "File Error" box is expected), and a host window at (10, 20)
// of 206 x 156 (a client area of 200 x 150) with the background as root.
struct Scene {
    static constexpr int kLeft = 10;
    static constexpr int kTop = 20;
    static constexpr int kWidth = 206;
    static constexpr int kHeight = 156;

    Harness h;
    Log log;
    CWnd* parent = h.CreateParent(320, 240);
    RecordingScreen screen{parent, &log};
    std::unique_ptr<CountingWnd> wnd = std::make_unique<CountingWnd>();
    CItemBackground* bg = new CItemBackground(&screen);
    std::vector<std::unique_ptr<CItem>> items;

    Scene() {
        bg->SetName("BG");
        bg->SetFillColor(RGB(0, 0, 64));
        wnd->Create("QuillonTest", parent, CRect(kLeft, kTop, kLeft + kWidth, kTop + kHeight), bg);
    }
    ~Scene() {
        items.clear();
        delete bg;
        wnd.reset();
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    template <class T>
    T* Add(std::unique_ptr<T> item, CItem* under, int l, int t, int r, int b) {
        T* p = item.get();
        p->Create(under != nullptr ? under : bg, l, t, r, b);
        items.push_back(std::move(item));
        return p;
    }
    RecItem* Rec(const std::string& name, CItem* under, int l, int t, int r, int b,
                 COLORREF fill = RGB(200, 0, 0)) {
        return Add(std::make_unique<RecItem>(name, &log, fill), under, l, t, r, b);
    }

    // Window client coordinates to the parent's, where the harness works.
    static int X(int x) { return kLeft + 3 + x; }
    static int Y(int y) { return kTop + 3 + y; }
    void Move(int x, int y, UINT flags = 0) { h.MouseMove(X(x), Y(y), flags); }
    void Down(int x, int y) { h.LButtonDown(X(x), Y(y)); }
    void Up(int x, int y) { h.LButtonUp(X(x), Y(y)); }
    COLORREF Pixel(int x, int y) { return h.Pixel(X(x), Y(y)); }
    // Paints everything and lets the paint through.
    void PaintAll() {
        bg->Redraw();
        h.AdvanceMs(0);
    }
    // The log from entry `from` on, without the screen's own lines.
    Log Since(std::size_t from) const {
        return Log(log.begin() + static_cast<std::ptrdiff_t>(from), log.end());
    }
};

}  // namespace frametest
