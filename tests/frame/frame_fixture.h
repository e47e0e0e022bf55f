// The headless harness with a host window in a parent of 320 x 240, in two
// forms: `Scene`, a hand-built tree of recording items under a bare main
// screen, and `ScreenScene`, a main screen built from a description file
// written by the test, with stand-ins for the section classes that live
// elsewhere. Everything the items do goes into one log.
#pragma once

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/IniFile.h"
#include "frame/ItemAnimation.h"
#include "frame/ItemBackground.h"
#include "frame/ItemBase.h"
#include "frame/ItemButton.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"
#include "frame/QMainWnd.h"
#include "frame/SectionTable.h"
#include "support/picture_files.h"

namespace frametest {

using quillon::testing::Harness;
using Log = std::vector<std::string>;

// Every report, in order: "A:down 10,10" from the recording items,
// "device:MD state 6 ''" from the stand-ins, "screen:..." from the screen.
inline Log& Events() {
    static Log events;
    return events;
}
// The lines of `log` that contain `what`.
inline Log Filter(const Log& log, const std::string& what) {
    Log out;
    for (const std::string& line : log)
        if (line.find(what) != std::string::npos) out.push_back(line);
    return out;
}
// The reports since the last call (or since the log was cleared).
inline Log Fresh() {
    static std::size_t seen = 0;
    Log out(Events().begin() + static_cast<std::ptrdiff_t>(std::min(seen, Events().size())),
            Events().end());
    seen = Events().size();
    return out;
}
inline std::string Pt(int x, int y) {
    return std::to_string(x) + "," + std::to_string(y);
}

// The harness of the running test (the stand-ins read its tick and cursor).
inline Harness* currentHarness = nullptr;

// What both scenes share: the host window goes at (10, 20), 206 x 156, so
// its client area (200 x 150) starts at (13, 23) of the parent.
struct Stage {
    static constexpr int kLeft = 10, kTop = 20, kWidth = 206, kHeight = 156;
    Harness h;
    CWnd* parent = h.CreateParent(320, 240);

    Stage() {
        currentHarness = &h;
        Events().clear();
        Fresh();
    }
    ~Stage() { currentHarness = nullptr; }
    static CRect Frame() { return CRect(kLeft, kTop, kLeft + kWidth, kTop + kHeight); }
    // Window client coordinates to the parent's, where the harness works.
    static int X(int x) { return kLeft + 3 + x; }
    static int Y(int y) { return kTop + 3 + y; }
    static CPoint InParent(int x, int y) { return CPoint(X(x), Y(y)); }
    COLORREF Pixel(int x, int y) { return h.Pixel(X(x), Y(y)); }
    void Move(int x, int y, UINT flags = 0) { h.MouseMove(X(x), Y(y), flags); }
    void Down(int x, int y) { h.LButtonDown(X(x), Y(y)); }
    void Up(int x, int y) { h.LButtonUp(X(x), Y(y)); }
    void Press(int x, int y) {
        Move(x, y);
        Down(x, y);
    }
    void Click(int x, int y) { h.Click(InParent(x, y)); }
    // The message boxes shown since the last call, as "caption: text".
    Log NewBoxes() {
        Log out;
        const auto boxes = h.MessageBoxes();
        for (std::size_t i = boxesSeen; i < boxes.size(); ++i)
            out.push_back(boxes[i].caption + ": " + boxes[i].text);
        boxesSeen = boxes.size();
        return out;
    }
    std::size_t boxesSeen = 0;
};

// ---- The hand-built tree ----

// The name the recording items are logged under.
struct Named {
    virtual ~Named() = default;
    std::string name;
};
inline std::string NameOf(const CItem* item) {
    if (item == nullptr) return "-";
    if (auto* n = dynamic_cast<const Named*>(item)) return n->name;
    return dynamic_cast<const CItemBackground*>(item) != nullptr ? "bg" : "?";
}

// A screen (without a description: its "File Error" box is expected) that
// logs the background's reports.
class RecordingScreen : public CQMainScreen {
public:
    explicit RecordingScreen(CWnd* parent)
        : CQMainScreen("QuillonTest", parent, CRect(0, 0, 10, 10), &missingIni, nullptr) {}
    void OnLButtonDblClk(CString n, unsigned f, CPoint p) override { Note("dblclk", n, f, p); }
    void OnLButtonUp(CString n, unsigned f, CPoint p) override { Note("up", n, f, p); }
    void OnLButtonDown(CString n, unsigned f, CPoint p) override {
        Note("down", n, f, p);
        if (onDown) onDown();
    }
    std::function<void()> onDown;
    inline static CString missingIni{"/nonexistent/quillon/TARVIK.INI"};

private:
    static void Note(const char* what, const CString& n, unsigned f, CPoint p) {
        Events().push_back("screen:" + std::string(what) + " " + n.str() + " " + std::to_string(f) +
                           " " + Pt(p.x, p.y));
    }
};

// A filled item that logs its calls (moves only while `logMoves`), then runs
// the one-shot hook set for the call, which may delete items, this one too.
class RecItem : public CItemBase, public Named {
public:
    RecItem(std::string n, COLORREF fill) {
        name = std::move(n);
        SetFillColor(fill);
    }
    void Draw(CDibPicture* t, int x, int y, int l, int tp, int r, int b) override {
        ++draws;
        CItemBase::Draw(t, x, y, l, tp, r, b);
    }
    void OnMouseMove(UINT f, int x, int y, CItem* cap) override {
        if (logMoves) Note("move " + At(x, y, cap));
        CItemBase::OnMouseMove(f, x, y, cap);
        Then("move");
    }
    // (The base bodies of the handlers that do not call them are empty.)
    void OnMouseEnter(UINT, int x, int y, CItem* cap) override { Note("enter " + At(x, y, cap)); }
    void OnMouseLeave(CItem* cap) override { Then("leave cap=" + NameOf(cap)); }
    void OnLButtonDown(UINT f, int x, int y) override {
        Note("down " + Pt(x, y));
        CItemBase::OnLButtonDown(f, x, y);
    }
    void OnLButtonUp(UINT f, int x, int y) override {
        Note("up " + Pt(x, y));
        CItemBase::OnLButtonUp(f, x, y);
    }
    void OnItemTimer() override {
        timerTicks.push_back(ticks + 1);
        Then("timer");
    }
    void OnTick() override {
        ++ticks;
        Then("tick");
    }
    void OnBeginDrag(DragArea a) override { Note("begindrag " + std::to_string(a.id)); }
    void OnEndDrag(int x, int y) override { Note("enddrag " + Pt(x, y)); }
    void OnDropIn(UINT f, int x, int y, CItem* dragged) override {
        Then("dropin " + std::to_string(f) + " " + Pt(x, y) + " from=" + NameOf(dragged));
    }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override {
        Note("key " + std::to_string(key));
        CItemBase::OnKeyDown(key, repeat, flags);
    }
    void OnMouseWheel(UINT, short delta) override { Then("wheel " + std::to_string(delta)); }
    void Note(const std::string& s) const { Events().push_back(name + ":" + s); }
    static std::string At(int x, int y, CItem* cap) { return Pt(x, y) + " cap=" + NameOf(cap); }
    // Logs `what` (but a move, logged above), then runs the hook of its first word.
    void Then(const std::string& what) {
        const std::string call = what.substr(0, what.find(' '));
        if (call != "move") Note(what);
        if (auto hook = std::exchange(hooks[call], nullptr)) hook();
    }

    bool logMoves = true;
    int draws = 0;
    int ticks = 0;                // OnTick calls so far
    std::vector<int> timerTicks;  // the tick (1-based) of each OnItemTimer
    std::map<std::string, std::function<void()>> hooks;
};

// A button that logs its clicks and repeats only.
class RecButton : public CItemButton, public Named {
public:
    explicit RecButton(std::string n) { name = std::move(n); }
    void OnButtonClick(UINT f, int x, int y) override {
        Events().push_back(name + ":click " + std::to_string(f) + " " + Pt(x, y));
    }
    void OnDragRepeat(CItem* held) override {
        Events().push_back(name + ":repeat " + NameOf(held));
    }
};

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

// A host window with the background (filled dark blue) as root.
struct Scene : Stage {
    RecordingScreen screen{parent};
    std::unique_ptr<CountingWnd> wnd = std::make_unique<CountingWnd>();
    CItemBackground* bg = new CItemBackground(&screen);
    std::vector<std::unique_ptr<CItem>> items;

    Scene() {
        bg->SetName("BG");
        bg->SetFillColor(RGB(0, 0, 64));
        wnd->Create("QuillonTest", parent, Frame(), bg);
    }
    ~Scene() {
        items.clear();
        delete bg;
        wnd.reset();
    }
    template <class T>
    T* Add(std::unique_ptr<T> item, CItem* under, int l, int t, int r, int b) {
        T* p = item.get();
        p->Create(under != nullptr ? under : bg, l, t, r, b);
        items.push_back(std::move(item));
        return p;
    }
    RecItem* Rec(const std::string& name, CItem* under, int l, int t, int r, int b,
                 COLORREF fill = RGB(200, 0, 0)) {
        return Add(std::make_unique<RecItem>(name, fill), under, l, t, r, b);
    }
    void Erase(CItem* item) {
        items.erase(std::find_if(items.begin(), items.end(),
                                 [&](const auto& p) { return p.get() == item; }));
    }
    void PaintAll() {
        bg->Redraw();
        h.AdvanceMs(0);
    }
};

// ---- Screens from description files ----

// A stand-in that reads its section through the common keys and keeps the
// lines they leave, logging as "kind:NAME what".
class FakeItem : public CItemBase, public CQItem {
public:
    struct Line {
        int view;
        std::vector<std::string> tokens;  // all 17 entries
    };
    FakeItem(CQMainScreen* screen, CIniFile* ini, const char* kind)
        : CQItem(screen, this), m_kind(kind) {
        Create(screen->GetRootItem(), 0, 0, 10, 10);
        CStringArray tokens;
        int view = -7;
        while (ParseCommonKey(ini, &tokens, &view)) {
            Line line{view, {}};
            for (int i = 0; i < tokens.GetSize(); ++i) line.tokens.push_back(tokens[i].str());
            lines.push_back(line);
        }
        Note("made");
    }
    ~FakeItem() override {
        // Still in the tree, and the window still there, while deleted.
        Note(std::string("deleted parent=") + (GetParent() != nullptr ? "bg" : "none") +
             " wnd=" + (GetMainWnd() != nullptr ? "yes" : "no"));
    }
    void OnViewModeChanged(int mode) override {
        ViewPlacement* p = GetViewPlacement(mode);
        SetVisible(p->visible);
        SetRect(p->rect);
        Note("view " + std::to_string(mode));
    }
    void OnColorChanged() override { Note("color"); }
    void OnTick() override { cursors.push_back(currentHarness->CursorId()); }
    void Note(const std::string& what) const {
        Events().push_back(std::string(m_kind) + ":" + GetName().str() + " " + what);
    }
    std::vector<Line> lines;
    std::vector<int> cursors;  // the cursor at each OnTick

private:
    const char* m_kind;
};

class FakeDevice : public FakeItem, public CQDeviceRole {
public:
    struct Fade {
        int level;
        CRect rect;
        unsigned tick;
        int cursor;
    };
    FakeDevice(CQMainScreen* screen, CIniFile* ini) : FakeItem(screen, ini, "device") {}
    void SetState(int state, CString text) override {
        m_state = state;
        m_text = text;
        Note("state " + std::to_string(state) + " '" + text.str() + "'");
    }
    int GetState() const override { return m_state; }
    CString GetDeviceText() const override { return m_text; }
    void SetMute(bool mute) override { m_mute = mute; }
    bool GetMute() const override { return m_mute; }
    CString GetDeviceName() const override { return GetName(); }
    int GetProgKind() const override { return 0; }
    void SetDefaultLength(CTimeSpan length) override {
        m_length = length;
        Note("length " + std::to_string(length.GetTotalSeconds()));
    }
    CTimeSpan GetDefaultLength() const override { return m_length; }
    bool SetFadeLevel(int level) override {
        fades.push_back(Fade{level, GetRect(), currentHarness->Tick(), currentHarness->CursorId()});
        return true;
    }
    std::vector<Fade> fades;

private:
    int m_state = 0;
    CString m_text;
    bool m_mute = false;
    CTimeSpan m_length{1800};
};

class FakeSlotButton : public FakeItem, public CQSlotButtonRole {
public:
    FakeSlotButton(CQMainScreen* screen, CIniFile* ini) : FakeItem(screen, ini, "slot") {
        for (const Line& line : lines)
            if (line.tokens[0] == "SLOTNO") m_slot = std::stoi(line.tokens[1]);
    }
    void SetToolHintFormats(CString freeSlot, CString usedSlot) override {
        Note("hints '" + freeSlot.str() + "' '" + usedSlot.str() + "'");
    }
    int GetSlotNo() const override { return m_slot; }
    void UpdateToolHint() override { Note("tip"); }

private:
    int m_slot = -1;
};

class FakeCalendar : public FakeItem, public CQCalendarRole {
public:
    FakeCalendar(CQMainScreen* screen, CIniFile* ini) : FakeItem(screen, ini, "calendar") {}
    void GetClassNameChain(CStringArray* out) override {
        FakeItem::GetClassNameChain(out);
        out->Add("CQItemCal");
    }
    bool SetDrawTimeRect(CTimeRect r) override {
        window = r;
        return true;
    }
    CTimeRect GetDrawTimeRect() const override { return window; }
    // Scrolling is the calendar's own (tested with it).
    bool ScrollToDay(CTime, CTime*) override { return true; }
    bool ClampDrawDay(CTime, CTime*) override { return true; }  // every day in range
    void GotoThisWeek() override {}
    void GotoWeek(CTime) override {}
    void GetFirstDay(CTime* out) override { *out = window.GetBegin(); }
    void RebuildDays() override { Note("rebuild"); }
    // No rows: nothing is under any point.
    CItem* GetDayAtY(int /*y*/) override { return nullptr; }
    bool PointToTime(int, int, CTime*) override { return false; }
    bool TimeToPoint(CTime, CPoint*) override { return false; }
    // The frame never drags programs itself.
    CalDragInfo* BeginProgDrag(const CalDragInfo&) override { return nullptr; }
    void EndProgDrag() override {}
    CalDragInfo* GetDragInfo() override { return nullptr; }
    int GetDragSlotNo() override { return -1; }
    int CalcDragProg(int, int, CQProg*) override { return -1; }
    CTimeRect window{CTime(100), CTime(200)};
};

class FakeTop : public FakeItem, public CQConnectRole {
public:
    FakeTop(CQMainScreen* screen, CIniFile* ini) : FakeItem(screen, ini, "top") {}
    void AddDubbing(CString a, CString b) override { Note("dubbing " + a.str() + ">" + b.str()); }
    void ClearDubbing() override { Note("dubbing end"); }
    void AddConnect(CString a, CString b) override { Note("connect " + a.str() + ">" + b.str()); }
    void ClearConnect() override { Note("connect clear"); }
};

// Any other section: an item with no role.
class PlainItem : public FakeItem {
public:
    PlainItem(CQMainScreen* screen, CIniFile* ini) : FakeItem(screen, ini, "plain") {}
};

// The stand-ins in place of the section factories for one test, and a
// folder for the description and its pictures.
struct ScreenScene : Stage {
    picturetest::TempDir dir;
    std::unique_ptr<CQMainScreen> screen;

    ScreenScene() {
        using quillon::frame::MakeSectionItem;
        // The frame alone: sections without a stand-in make no item.
        for (const char* keyword : {"CALENDARSCROLLBUTTON", "CALENDARBALLOONHELP", "CHANGE",
                                    "NEWMAKE", "GOTODAYBUTTON", "DRAGINGITEMFRAME"})
            Put(keyword, nullptr);
        Put("DEVICE", &MakeSectionItem<FakeDevice>);
        Put("SLOTBUTTON", &MakeSectionItem<FakeSlotButton>);
        Put("CALENDAR", &MakeSectionItem<FakeCalendar>);
        Put("TOP", &MakeSectionItem<FakeTop>);
        Put("TRASH", &MakeSectionItem<PlainItem>);
    }
    ~ScreenScene() {
        screen.reset();
        // Backwards: a keyword replaced twice gets its first factory back.
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            quillon::frame::SetSectionFactory(it->first, it->second);
    }
    // The picture directory, with its trailing separator.
    std::string PictureDir() const { return dir.Path(""); }
    std::string IniPath() const { return dir.Path("TARVIK.INI"); }
    void WriteIni(const std::string& bytes) const { dir.Write("TARVIK.INI", bytes); }
    // Writes the description and builds the screen from it.
    CQMainScreen& Build(const std::string& bytes) {
        WriteIni(bytes);
        CString ini(IniPath()), pictures(PictureDir());
        screen = std::make_unique<CQMainScreen>("QuillonTest", parent, Frame(), &ini, &pictures);
        return *screen;
    }
    template <class T>
    T* Item(const char* name) {
        return dynamic_cast<T*>(screen->CQItemName2pCQItem(name));
    }

protected:
    void Put(const char* keyword, quillon::frame::ItemFactory factory) {
        m_saved.emplace_back(keyword, quillon::frame::SetSectionFactory(keyword, factory));
    }

private:
    std::vector<std::pair<const char*, quillon::frame::ItemFactory>> m_saved;
};

}  // namespace frametest
