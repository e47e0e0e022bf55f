// The screen description reader on arbitrary bytes: they are the TARVIK.INI
// of a screen built under the test harness, beside a picture folder holding
// one small picture that BMP lines can name ("bg.bmp", or "BG.BMP" as an
// unquoted name reads). Every item section makes a stand-in item that takes
// its placements as the real items do; the screen is then switched through
// its views, painted, given device states and destroyed.
#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "frame/IniFile.h"
#include "frame/ItemBase.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"
#include "frame/SectionTable.h"
#include "platform/decode/PictureDecoder.h"
#include "fuzz/fuzz_files.h"

namespace {

using fuzzfiles::WriteFile;

class StandIn : public CItemBase, public CQItem, public CQDeviceRole, public CQSlotButtonRole {
public:
    StandIn(CQMainScreen* screen, CIniFile* ini) : CQItem(screen, this) {
        Create(screen->GetRootItem(), 0, 0, 10, 10);
        CStringArray tokens;
        int view = 0;
        while (ParseCommonKey(ini, &tokens, &view)) {
            if (tokens.GetAt(0) == "SLOTNO") m_slot = std::atoi(tokens.GetAt(1));
        }
        if (!GetDefaultToolHint().IsEmpty()) SetToolHint(GetDefaultToolHint());
    }
    void OnViewModeChanged(int mode) override {
        ViewPlacement* p = GetViewPlacement(mode);
        SetVisible(p->visible);
        SetRect(p->rect);
    }
    void SetState(int state, CString text) override {
        m_state = state;
        m_text = text;
        GetMainScreen()->AllRedraw(false);
    }
    int GetState() const override { return m_state; }
    CString GetDeviceText() const override { return m_text; }
    void SetMute(bool mute) override { m_mute = mute; }
    bool GetMute() const override { return m_mute; }
    bool SetFadeLevel(int /*level*/) override { return true; }
    CString GetDeviceName() const override { return GetName(); }
    int GetProgKind() const override { return 0; }
    void SetDefaultLength(CTimeSpan length) override { m_length = length; }
    CTimeSpan GetDefaultLength() const override { return m_length; }
    void SetToolHintFormats(CString freeSlot, CString /*usedSlot*/) override {
        SetToolHint(freeSlot);
    }
    int GetSlotNo() const override { return m_slot; }
    void UpdateToolHint() override {}

private:
    int m_state = 0;
    CString m_text;
    bool m_mute = false;
    int m_slot = -1;
    CTimeSpan m_length{1800};
};

// Plain buffers, so that the clean-up at exit never sees a destroyed string.
char g_dir[64];
char g_ini[96];
char g_bmp[2][96];

void Remove() {
    std::remove(g_ini);
    std::remove(g_bmp[0]);
    std::remove(g_bmp[1]);
    rmdir(g_dir);
}

bool SetUp() {
    std::snprintf(g_dir, sizeof g_dir, "/tmp/quillon-fuzz-ini-XXXXXX");
    if (mkdtemp(g_dir) == nullptr) return false;
    std::snprintf(g_ini, sizeof g_ini, "%s/TARVIK.INI", g_dir);
    std::snprintf(g_bmp[0], sizeof g_bmp[0], "%s/bg.bmp", g_dir);
    std::snprintf(g_bmp[1], sizeof g_bmp[1], "%s/BG.BMP", g_dir);
    std::atexit(Remove);
    // 32 x 32 pixels, 24 bits, in coloured bands: big enough that tiling
    // the background takes few copies.
    for (const char* path : g_bmp) {
        if (!quillon::platform::WriteBmpOf(path, 32, 32,
                                           [](int, int y) { return RGB(y * 8, 80 + y * 4, 160); }))
            return false;
    }
    using quillon::frame::MakeSectionItem;
    for (const char* keyword :
         {"DEVICE", "CALENDAR", "CALENDARSCROLLBUTTON", "CALENDARBALLOONHELP", "TRASH", "CHANGE",
          "NEWMAKE", "SLOTBUTTON", "GOTODAYBUTTON", "DRAGINGITEMFRAME", "TOP"})
        quillon::frame::SetSectionFactory(keyword, &MakeSectionItem<StandIn>);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = SetUp();
    if (!ready || !WriteFile(g_ini, data, size)) return 0;
    quillon::testing::Harness h;
    // A small screen: painting is most of the work.
    CWnd* parent = h.CreateParent(100, 80);
    CString ini(g_ini);
    CString pictures = CString(g_dir) + "/";
    auto* screen = new CQMainScreen("QuillonFuzz", parent, CRect(10, 20, 74, 68), &ini, &pictures);
    for (int mode = 0; mode <= 3; ++mode) screen->SetViewMode(mode);
    h.AdvanceMs(0);
    screen->SetStateCDDVD(2);
    screen->SetStateNKX(1, "x");
    screen->SetDrawBgMode(1);
    screen->AllRedraw(true);
    h.MouseMove(30, 30);
    h.AdvanceMs(100);
    delete screen;
    return 0;
}
