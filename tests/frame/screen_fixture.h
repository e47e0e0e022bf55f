// Screens built from description files written by the tests, with stand-in
// items for the sections whose real classes live elsewhere: they read their
// section through the common keys, play the roles the main screen asks of
// devices, slot buttons, the calendar and the TOP item, and write down
// everything that happens to them.
#pragma once

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/IniFile.h"
#include "frame/ItemBase.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"
#include "frame/SectionTable.h"
#include "pictures/picture_files.h"

namespace screentest {

using quillon::testing::Harness;

// Everything the stand-ins report, as "kind:NAME what".
inline std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

// The harness of the running test (the stand-ins read its tick and cursor).
inline Harness*& CurrentHarness() {
    static Harness* h = nullptr;
    return h;
}

class FakeItem : public CItemBase, public CQItem {
public:
    struct Line {
        int view;
        std::vector<std::string> tokens;  // all 17 entries
    };

    FakeItem(CQMainScreen* screen, CIniFile* ini, const char* kind) : CQItem(screen), m_kind(kind) {
        SetOwner(this);
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
    void OnTick() override {
        if (CurrentHarness() != nullptr) {
            ticks.push_back(CurrentHarness()->Tick());
            cursors.push_back(CurrentHarness()->CursorId());
        }
    }
    void Note(const std::string& what) {
        Events().push_back(std::string(m_kind) + ":" + GetName().str() + " " + what);
    }

    std::vector<Line> lines;
    std::vector<unsigned> ticks;  // of each OnTick
    std::vector<int> cursors;     // the cursor at each OnTick

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
    void SetMute(bool mute) override {
        m_mute = mute;
        Note(std::string("mute ") + (mute ? "on" : "off"));
    }
    bool GetMute() const override { return m_mute; }
    void SetDefaultReservationLength(CTimeSpan length) override {
        Note("length " + std::to_string(length.GetTotalSeconds()));
    }
    bool SetFadeLevel(int level) override {
        Harness* h = CurrentHarness();
        fades.push_back(Fade{level, GetRect(), h != nullptr ? h->Tick() : 0u,
                             h != nullptr ? h->CursorId() : 0});
        return true;
    }
    std::vector<Fade> fades;

private:
    int m_state = 0;
    CString m_text;
    bool m_mute = false;
};

class FakeSlotButton : public FakeItem, public CQSlotButtonRole {
public:
    FakeSlotButton(CQMainScreen* screen, CIniFile* ini) : FakeItem(screen, ini, "slot") {
        for (const Line& line : lines) {
            if (line.tokens[0] == "SLOTNO") m_slot = std::stoi(line.tokens[1]);
        }
    }
    void SetToolHintFormats(CString freeSlot, CString usedSlot) override {
        Note("hints '" + freeSlot.str() + "' '" + usedSlot.str() + "'");
    }
    int GetSlotNo() const override { return m_slot; }
    void RenewToolHint() override { Note("tip"); }

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
    bool ScrollToDay(CTime day, CTime* clamped) override {
        Note("scroll " + std::to_string(day.GetTime()) + (clamped != nullptr ? " out" : " null"));
        return scrollResult;
    }
    void RebuildDays() override { Note("rebuild"); }
    CTimeRect window{CTime(100), CTime(200)};
    bool scrollResult = true;
};

class FakeTop : public FakeItem, public CQConnectRole {
public:
    FakeTop(CQMainScreen* screen, CIniFile* ini) : FakeItem(screen, ini, "top") {}
    void AddDubbing(CString from, CString to) override {
        Note("dubbing " + from.str() + ">" + to.str());
    }
    void ClearDubbing() override { Note("dubbing end"); }
    void AddConnect(CString from, CString to) override {
        Note("connect " + from.str() + ">" + to.str());
    }
    void ClearConnect() override { Note("connect clear"); }
};

// Any other section: an item with no role.
class PlainItem : public FakeItem {
public:
    PlainItem(CQMainScreen* screen, CIniFile* ini) : FakeItem(screen, ini, "plain") {}
};

// Puts the stand-ins in place of the section factories for one test.
class StandIns {
public:
    StandIns() {
        using quillon::frame::MakeSectionItem;
        Put("DEVICE", &MakeSectionItem<FakeDevice>);
        Put("SLOTBUTTON", &MakeSectionItem<FakeSlotButton>);
        Put("CALENDAR", &MakeSectionItem<FakeCalendar>);
        Put("TOP", &MakeSectionItem<FakeTop>);
        Put("TRASH", &MakeSectionItem<PlainItem>);
        Events().clear();
    }
    ~StandIns() {
        for (auto& [keyword, factory] : m_saved)
            quillon::frame::SetSectionFactory(keyword, factory);
    }
    StandIns(const StandIns&) = delete;
    StandIns& operator=(const StandIns&) = delete;

private:
    void Put(const char* keyword, quillon::frame::ItemFactory factory) {
        m_saved.emplace_back(keyword, quillon::frame::SetSectionFactory(keyword, factory));
    }
    std::vector<std::pair<const char*, quillon::frame::ItemFactory>> m_saved;
};

// The harness, a parent of 320 x 240, and a folder for the description and
// its pictures. The screen goes at (10, 20), 206 x 156: its client area
// (200 x 150) starts at (13, 23) of the parent.
struct ScreenScene {
    static constexpr int kLeft = 10;
    static constexpr int kTop = 20;
    static constexpr int kWidth = 206;
    static constexpr int kHeight = 156;

    Harness h;
    picturetest::TempDir dir;
    CWnd* parent = h.CreateParent(320, 240);
    std::unique_ptr<CQMainScreen> screen;

    ScreenScene() { CurrentHarness() = &h; }
    ~ScreenScene() {
        screen.reset();
        CurrentHarness() = nullptr;
    }
    ScreenScene(const ScreenScene&) = delete;
    ScreenScene& operator=(const ScreenScene&) = delete;

    // The picture directory, with its trailing separator.
    std::string PictureDir() const { return dir.Path(""); }
    std::string IniPath() const { return dir.Path("TARVIK.INI"); }
    void WriteIni(const std::string& bytes) const {
        dir.Write("TARVIK.INI", picturetest::Bytes(bytes.begin(), bytes.end()));
    }
    // Writes the description and builds the screen from it.
    CQMainScreen& Build(const std::string& bytes) {
        WriteIni(bytes);
        CString ini(IniPath());
        CString pictures(PictureDir());
        screen = std::make_unique<CQMainScreen>("QuillonTest", parent,
                                                CRect(kLeft, kTop, kLeft + kWidth, kTop + kHeight),
                                                &ini, &pictures);
        return *screen;
    }
    template <class T>
    T* Item(const char* name) {
        return dynamic_cast<T*>(screen->CQItemName2pCQItem(name));
    }
    // Client coordinates of the screen to the parent's.
    COLORREF Pixel(int x, int y) { return h.Pixel(kLeft + 3 + x, kTop + 3 + y); }
};

}  // namespace screentest
