// The default skin as the build draws it: everything it names loads, and
// each view puts its items inside the window, clear of the calendar and of
// one another.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <quillon/testing.h>

#include "frame/Item.h"
#include "frame/QItem.h"
#include "platform/LittleEndian.h"

namespace {

const std::string kSkin = QUILLON_DEFAULT_SKIN;

// Seconds of a plain 16-bit PCM WAV file; -1 for anything else.
double PcmSeconds(const std::string& path) {
    using quillon::platform::Le16;
    using quillon::platform::Le32;
    std::ifstream f(path, std::ios::binary);
    std::string s((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const auto* b = reinterpret_cast<const std::uint8_t*>(s.data());
    if (s.size() < 44 || s.compare(0, 4, "RIFF") || s.compare(8, 8, "WAVEfmt ") ||
        Le16(b + 20) != 1 || Le16(b + 34) != 16 || s.compare(36, 4, "data") ||
        Le32(b + 40) != s.size() - 44)
        return -1;
    return static_cast<double>(Le32(b + 40)) / Le32(b + 28);
}

// One screen on the skin serves every check: what it loads and where each
// view puts its items.
TEST(DefaultSkin, LoadsWhatItNamesAndEachViewPlacesItsItemsInsideAndApart) {
    quillon::testing::Harness h;
    CString ini = (kSkin + "TARVIK.INI").c_str();
    CString dir = kSkin.c_str();
    CQMainScreen screen("QuillonMain", h.CreateParent(1024, 768), CRect(0, 0, 1024, 768), &ini,
                        &dir);
    // A picture that does not load shows a box; the screen must show none.
    for (const auto& box : h.MessageBoxes()) ADD_FAILURE() << box.caption << ": " << box.text;
    // The week font fails quietly, glyph by glyph: its files must be there.
    for (const char* glyph : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "slash"})
        EXPECT_TRUE(std::filesystem::is_regular_file(kSkin + "week" + glyph + ".bmp")) << glyph;
    // Sound names are used as written, so they must name the skin's files.
    // Effects stay short: they play at every hover and click.
    for (const CString& se :
         {screen.GetSeMouseOver(), screen.GetSeClick(), screen.GetSeDragDrop()}) {
        double seconds = PcmSeconds(se.str());
        EXPECT_GT(seconds, 0) << se.str();
        EXPECT_LT(seconds, .3) << se.str();
    }

    // Which named items each view shows: A(UDIO), L(UNCHER), T(IMER).
    std::map<std::string, std::string> shown = {
        {"CD/DVD", "ALT"},     {"MD", "ALT"},      {"FM TUNER", "ALT"}, {"NKX", "ALT"},
        {"SOUND CHIP", "ALT"}, {"SPEAKER", "ALT"}, {"OPT IN", "ALT"},   {"OPT OUT", "ALT"},
        {"CALENDAR", "LT"},    {"UP", "LT"},       {"DOWN", "LT"},      {"GOTODAY", "LT"},
        {"NEWMAKE", "ALT"},    {"CHANGE", "T"},    {"TRASH", "T"}};
    for (int slot = 1; slot <= 8; ++slot) shown["SLOT" + std::to_string(slot)] = "ALT";

    CItem* root = screen.GetRootItem();
    ASSERT_NE(root, nullptr);
    const CRect screenRect = root->GetWindowRect();
    // The root spans the whole 1024 x 768 window, but its border and client
    // edge (3 pixels a side) leave 1018 x 762 of it to be seen.
    const CRect window(0, 0, screenRect.Width() - 6, screenRect.Height() - 6);
    for (int view = 0; view < 3; ++view) {
        SCOPED_TRACE("view " + std::to_string(view));
        screen.SetViewMode(view);
        for (const auto& [name, views] : shown) {
            CQItem* item = screen.CQItemName2pCQItem(name.c_str());
            ASSERT_NE(item, nullptr) << name;
            EXPECT_EQ(item->GetOwner()->IsVisible(), views.find("ALT"[view]) != std::string::npos)
                << name;
        }
        // Items covering the whole screen (background, balloon, lines, the
        // dragging frame) are left out; the rest must not touch.
        CTypedPtrArray<CPtrArray, CQItem*> items;
        screen.GetTblpCQItem(&items);
        std::vector<std::pair<std::string, CRect>> placed;
        for (int i = 0; i < items.GetSize(); ++i) {
            CItem* owner = items[i]->GetOwner();
            CRect r = owner->GetWindowRect();
            if (!owner->IsVisible() || r == screenRect) continue;
            std::string name = items[i]->GetName().str();
            EXPECT_FALSE(r.IsRectEmpty()) << name;
            CRect inside;
            inside.IntersectRect(&r, &window);
            EXPECT_EQ(inside, r) << name << " leaves the window";
            for (const auto& [other, o] : placed) {
                CRect both;
                EXPECT_FALSE(both.IntersectRect(&r, &o)) << name << " overlaps " << other;
            }
            placed.emplace_back(name, r);
        }
    }
    // Its mouse-over sound is the one that plays on MD.
    screen.SetViewMode(0);
    CPoint md = h.ItemCenter(screen, "MD");
    h.MouseMove(md.x, md.y);
    EXPECT_EQ(h.Sounds(), std::vector<std::string>{screen.GetSeMouseOver().str()});
}

}  // namespace
