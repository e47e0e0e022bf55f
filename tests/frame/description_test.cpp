// Screens built from small description files: the lexical rules as the
// sections see them, the one-line statements, the scope of VIEW, sections out
// of place, and the files that are missing, cut short or name a missing
// picture.
#include "screen_fixture.h"
#include "tests/schedule/sched_helpers.h"

using screentest::Events;
using screentest::FakeDevice;
using screentest::FakeItem;
using screentest::ScreenScene;
using screentest::StandIns;

namespace {

std::vector<std::string> EventsWith(const std::string& what) {
    std::vector<std::string> out;
    for (const std::string& e : Events()) {
        if (e.find(what) != std::string::npos) out.push_back(e);
    }
    return out;
}

std::vector<std::string> Trimmed(std::vector<std::string> tokens) {
    while (!tokens.empty() && tokens.back().empty()) tokens.pop_back();
    return tokens;
}

int ItemCount(CQMainScreen& screen) {
    CTypedPtrArray<CPtrArray, CQItem*> items;
    screen.GetTblpCQItem(&items);
    return items.GetSize();
}

}  // namespace

TEST(DescriptionTest, LexicalRulesAsTheSectionsSeeThem) {
    ScreenScene s;
    StandIns fakes;
    const std::string kDi = Sjis("ヂ").str();  // 83 61: its trail byte reads as 'a'
    ASSERT_EQ(kDi, "\x83\x61");
    // Windows line ends throughout, and a last line without one.
    CQMainScreen& screen = s.Build(
        "BG\r\n"
        "\tNAME\t\"Back\"\r\n"
        "END\r\n"
        "DEVICE\r\n"
        "NAME\tcd/dvd // after a blank\r\n"
        "DEFAULTTOOLTIP\t\"Play " +
        kDi +
        "a\"\t// after a TAB\r\n"
        "END\r\n"
        "// a comment line\r\n"
        "\r\n"
        "device\r\n"
        "\t\tname\t\"md\"\r\n"
        "item\tt1\tt2\tt3\tt4\tt5\tt6\tt7\tt8\tt9\tt10\tt11\tt12\tt13\tt14\tt15\tt16\r\n"
        "tip\t" +
        kDi + "a\t\"" + kDi +
        "a\"\r\n"
        "End");
    EXPECT_TRUE(s.h.MessageBoxes().empty());
    auto* bg = dynamic_cast<CQItem*>(screen.GetRootItem());
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->GetName(), "Back");

    // A blank is no separator: the comment is part of the (upper-cased) value.
    auto* cd = s.Item<FakeDevice>("CD/DVD // AFTER A BLANK");
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->GetDefaultToolHint(), "Play " + kDi + "a");
    EXPECT_TRUE(cd->lines.empty());

    // Quoted names keep their case; the 17th token is lost; upper-casing
    // leaves double-byte characters alone.
    EXPECT_EQ(s.Item<FakeDevice>("MD"), nullptr);
    auto* md = s.Item<FakeDevice>("md");
    ASSERT_NE(md, nullptr);
    ASSERT_EQ(md->lines.size(), 2u);
    ASSERT_EQ(md->lines[0].tokens.size(), 17u);
    EXPECT_EQ(md->lines[0].tokens[0], "ITEM");
    EXPECT_EQ(md->lines[0].tokens[15], "T15");
    EXPECT_EQ(md->lines[0].tokens[16], "");
    EXPECT_EQ(Trimmed(md->lines[1].tokens),
              (std::vector<std::string>{"TIP", kDi + "A", kDi + "a"}));
    EXPECT_EQ(screen.GetViewMode(), 3);
}

TEST(DescriptionTest, ColoursSoundEffectsAndTheProgramMargin) {
    ScreenScene s;
    CQMainScreen& plain = s.Build("BG\nEND\n");
    EXPECT_EQ(plain.GetColor(), 0xFFFFFFu);
    EXPECT_EQ(plain.GetSelectColor(), 0xFFFF00u);
    EXPECT_EQ(plain.GetGrayColor(), 0x808080u);
    EXPECT_EQ(plain.GetProgramMargin(), 180);
    EXPECT_EQ(plain.GetSeClick(), "");

    CQMainScreen& screen = s.Build(
        "COLOR\tNORMAL\t300,0,-1\n"
        "COLOR\tSELECT\t1,2\n"
        "COLOR\tGRAY\tx\n"
        "COLOR\tPINK\t1,1,1\n"
        "SE\tDEVICECLICK\t\"a.wav\"\n"
        "SE\tDEVICECLICK\t\"b.wav\"\n"
        "SE\tDEVICEMOUSEOVER\t\"Over.wav\"\n"
        "SE\tDEVICEWHATEVER\t\"x.wav\"\n"
        "PROGRAMMARGIN\t600\n"
        "BG\nEND\n");
    EXPECT_EQ(screen.GetColor(), RGB(44, 0, 255));
    EXPECT_EQ(screen.GetSelectColor(), RGB(1, 2, 255));  // the missing blue counts as 255
    EXPECT_EQ(screen.GetGrayColor(), RGB(255, 255, 255));
    EXPECT_EQ(screen.GetSeClick(), "b.wav");  // the later line wins
    EXPECT_EQ(screen.GetSeMouseOver(), "Over.wav");
    EXPECT_EQ(screen.GetSeDragDrop(), "");  // no line: nothing is heard
    EXPECT_EQ(screen.GetProgramMargin(), 600);

    // The reservation rules keep programs the file's margin apart.
    ASSERT_TRUE(screen.SetProgram(schedtest::Single(1, 2025, 1, 8, 10, 0, 11, 0)));
    EXPECT_EQ(screen.ChkOverlapProg(schedtest::Single(2, 2025, 1, 8, 11, 5, 12, 0)), -2);
    EXPECT_EQ(screen.ChkOverlapProg(schedtest::Single(2, 2025, 1, 8, 11, 10, 12, 0)), 0);

    EXPECT_EQ(s.Build("PROGRAMMARGIN\tsoon\nBG\nEND\n").GetProgramMargin(), -1);
    EXPECT_EQ(s.Build("PROGRAMMARGIN\t 60s\nBG\nEND\n").GetProgramMargin(), 60);
    EXPECT_TRUE(s.h.MessageBoxes().empty());
}

TEST(DescriptionTest, ViewGovernsTheCommonKeysUpToTheNextItemLine) {
    ScreenScene s;
    StandIns fakes;
    CQMainScreen& screen = s.Build(
        "BG\nEND\n"
        "DEVICE\n"
        "NAME\t\"D\"\n"
        "VIEW\tTIMER\n"
        "POSITION\t5,6\n"
        "SIZE\t20, 10\n"
        "L\tICON\tx.bmp\n"
        "VISIBLE\tFALSE\n"  // after the item line: view 0 again
        "VIEW\tLUNCHER\n"
        "POSITION\t7\n"  // x only
        "SIZE\t30\n"     // width only
        "VIEW\tBOGUS\n"
        "POSITION\t50,50\n"  // no such view: ignored
        "VISIBLE\tFALSE\n"
        "DEFAULTTOOLTIP\t\"tip\"\n"  // not a placement: applies
        "VIEW\tAUDIO\n"
        "SIZE\t99999999,-5\n"
        "POSITION\t-99999999999,40\n"
        "END\n");
    auto* d = s.Item<FakeDevice>("D");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->lines.size(), 1u);
    EXPECT_EQ(d->lines[0].view, 2);
    EXPECT_EQ(Trimmed(d->lines[0].tokens), (std::vector<std::string>{"L", "ICON", "X.BMP"}));

    EXPECT_TRUE(d->GetViewPlacement(2)->visible);
    EXPECT_EQ(d->GetViewPlacement(2)->rect, CRect(5, 6, 25, 16));
    EXPECT_TRUE(d->GetViewPlacement(1)->visible);
    EXPECT_EQ(d->GetViewPlacement(1)->rect, CRect(7, 0, 37, 0));
    EXPECT_EQ(d->GetDefaultToolHint(), "tip");
    // View 0: hidden; sizes held to the 16-bit range, a negative one empty.
    EXPECT_FALSE(d->GetViewPlacement(0)->visible);
    EXPECT_EQ(d->GetViewPlacement(0)->rect, CRect(-32768, 40, -1, 40));
    // View 3 cannot be named: still the default.
    EXPECT_TRUE(d->GetViewPlacement(3)->visible);
    EXPECT_EQ(d->GetViewPlacement(3)->rect, CRect(0, 0, 0, 0));
    EXPECT_EQ(d->GetViewPlacement(4), nullptr);
    EXPECT_EQ(d->GetViewPlacement(-1), nullptr);
    // Construction ends in view 3: the item took that placement.
    EXPECT_EQ(d->GetRect(), CRect(0, 0, 0, 0));

    EXPECT_EQ(CQMainScreen::ViewName2No("AUDIO"), 0);
    EXPECT_EQ(CQMainScreen::ViewName2No("LUNCHER"), 1);
    EXPECT_EQ(CQMainScreen::ViewName2No("TIMER"), 2);
    EXPECT_EQ(CQMainScreen::ViewName2No("audio"), -1);
    EXPECT_EQ(CQMainScreen::ViewName2No("LAUNCHER"), -1);
    EXPECT_EQ(CQMainScreen::ViewName2No(""), -1);
    EXPECT_EQ(screen.GetViewMode(), 3);
}

TEST(DescriptionTest, SlotButtonHintsGoOnlyToTheButtonsAbove) {
    ScreenScene s;
    StandIns fakes;
    s.Build(
        "SLOTBUTTON_ALL\tTOOLHINT\t\"early\"\t\"early\"\n"
        "BG\nEND\n"
        "SLOTBUTTON\nNAME\t\"S1\"\nEND\n"
        "SLOTBUTTON\nNAME\t\"S2\"\nEND\n"
        "SLOTBUTTON_ALL\tTOOLHINT\t\"free %d\"\t\"used %d %s\"\n"
        "SLOTBUTTON_ALL\tOTHER\t\"a\"\t\"b\"\n"
        "SLOTBUTTON\nNAME\t\"S3\"\nEND\n");
    EXPECT_EQ(EventsWith("hints"), (std::vector<std::string>{
                                       "slot:S1 hints 'free %d' 'used %d %s'",
                                       "slot:S2 hints 'free %d' 'used %d %s'",
                                   }));
    EXPECT_EQ(ItemCount(*s.screen), 3);
}

TEST(DescriptionTest, SectionsOutOfPlaceAreReadAndDropped) {
    ScreenScene s;
    StandIns fakes;
    s.dir.Write("bg.bmp", picturetest::MakeBmp24(1, 1, {0xFF0000}));
    CQMainScreen& screen = s.Build(
        "DEVICE\nNAME\t\"early\"\nCOLOR\tNORMAL\t1,2,3\nEND\n"  // before BG
        "END\n"
        "FOO\tBAR\n"
        "NAME\t\"stray\"\n"
        "BG\nBMP\t\"bg.bmp\"\nEND\n"
        "CALENDARBALLOONHELP\nCOLOR\tNORMAL\t4,5,6\nEND\n"   // no class yet
        "BG\nBMP\t\"missing.bmp\"\nNAME\t\"second\"\nEND\n"  // a second BG
        "TOP\nNAME\t\"T1\"\nEND\n"
        "TOP\nNAME\t\"T2\"\nEND\n"  // replaces the first
        "DEVICE\nNAME\t\"outer\"\nDEVICE\nNAME\t\"inner\"\nEND\n"
        "COLOR\tNORMAL\t7,8,9\n");
    EXPECT_TRUE(s.h.MessageBoxes().empty());
    EXPECT_EQ(screen.GetColor(), RGB(7, 8, 9));
    EXPECT_EQ(screen.CQItemName2pCQItem("early"), nullptr);
    EXPECT_EQ(screen.GetBgBmp(), s.PictureDir() + "bg.bmp");
    EXPECT_NE(dynamic_cast<CQItem*>(screen.GetRootItem())->GetName(), "second");

    // One TOP item; the first was taken out of the tree at once.
    EXPECT_EQ(screen.CQItemName2pCQItem("T1"), nullptr);
    ASSERT_NE(s.Item<FakeItem>("T2"), nullptr);
    EXPECT_EQ(EventsWith("top:T1"),
              (std::vector<std::string>{"top:T1 made", "top:T1 deleted parent=bg wnd=yes"}));
    EXPECT_EQ(screen.GetRootItem()->GetChildCount(), 2);

    // A section keyword inside a section is one of its lines.
    auto* nested = s.Item<FakeDevice>("inner");
    ASSERT_NE(nested, nullptr);
    ASSERT_EQ(nested->lines.size(), 1u);
    EXPECT_EQ(nested->lines[0].tokens[0], "DEVICE");
    EXPECT_EQ(ItemCount(screen), 2);

    s.screen.reset();
    EXPECT_EQ(EventsWith("deleted").size(), 3u);  // T1 once, T2 and the device
}

TEST(DescriptionTest, EndOfFileInsideASection) {
    ScreenScene s;
    StandIns fakes;
    auto boxesFor = [&s](const std::string& ini) {
        std::size_t before = s.h.MessageBoxes().size();
        s.Build(ini);
        auto boxes = s.h.MessageBoxes();
        return std::vector<quillon::testing::MessageBoxRecord>(boxes.begin() + before, boxes.end());
    };
    for (const std::string ini : {"BG\nNAME\t\"b\"\n", "BG\nEND\nCHANGE\nNAME\tx",
                                  "BG\nEND\nBG\nNAME\tx\n", "BG\nEND\nDEVICE\nNAME\t\"d\"\nVIEW"}) {
        auto boxes = boxesFor(ini);
        ASSERT_EQ(boxes.size(), 1u) << ini;
        EXPECT_EQ(boxes[0].text, "Ini File Error");
        EXPECT_EQ(boxes[0].caption, "Error");
        EXPECT_EQ(boxes[0].type, MB_OK);
        // Construction finishes: the window is there and in view 3.
        EXPECT_NE(s.screen->GetpCWnd(), nullptr);
        EXPECT_EQ(s.screen->GetViewMode(), 3);
    }
    // The item keeps what it read.
    EXPECT_NE(s.Item<FakeDevice>("d"), nullptr);
}

TEST(DescriptionTest, MissingOrUnreadableFileLeavesAnEmptyScreen) {
    ScreenScene s;
    CString folder(s.PictureDir());
    CQMainScreen screen("QuillonTest", s.parent, CRect(0, 0, 100, 100), &folder, nullptr);
    auto boxes = s.h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File Error " + s.PictureDir());
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(screen.GetpCWnd(), nullptr);
    EXPECT_EQ(screen.GetRootItem(), nullptr);
    EXPECT_EQ(screen.GetViewMode(), 0);
    EXPECT_EQ(s.h.CursorId(), 32512);  // the arrow all the same
    // The operations have nothing to work on and stay quiet.
    EXPECT_FALSE(screen.ChangeBgBmp(CString(s.PictureDir() + "x.bmp")));
    EXPECT_EQ(screen.GetBgBmp(), "");
    EXPECT_TRUE(screen.SetViewMode(1));
    EXPECT_EQ(s.h.MessageBoxes().size(), 1u);

    // A device that never ends is no description either.
    CString endless("/dev/zero");
    CQMainScreen zero("QuillonTest", s.parent, CRect(0, 0, 100, 100), &endless, nullptr);
    ASSERT_EQ(s.h.MessageBoxes().size(), 2u);
    EXPECT_EQ(s.h.MessageBoxes()[1].text, "File Error /dev/zero");

    // A readable description without a parent: no window, no crash.
    s.WriteIni("BG\nEND\n");
    CString ini(s.IniPath());
    CQMainScreen orphan("QuillonTest", nullptr, CRect(0, 0, 100, 100), &ini, nullptr);
    EXPECT_EQ(orphan.GetpCWnd(), nullptr);
    EXPECT_NE(orphan.GetRootItem(), nullptr);
    EXPECT_EQ(orphan.GetViewMode(), 3);
    orphan.AllRedraw(true);
    EXPECT_EQ(s.h.MessageBoxes().size(), 2u);
}

TEST(DescriptionTest, BackgroundPictureThatFailsShowsTwoBoxes) {
    ScreenScene s;
    CQMainScreen& screen = s.Build("BG\nBMP\tmissing.bmp\nEND\n");
    const std::string path = s.PictureDir() + "MISSING.BMP";  // unquoted: upper-cased
    auto boxes = s.h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, path);
    EXPECT_EQ(boxes[0].caption, "FileError");
    EXPECT_EQ(boxes[1].text, path);
    EXPECT_EQ(boxes[1].caption, "Error");
    EXPECT_EQ(boxes[1].type, MB_OK);
    EXPECT_EQ(screen.GetBgBmp(), "");
    EXPECT_NE(screen.GetpCWnd(), nullptr);  // reading went on
    EXPECT_EQ(screen.GetViewMode(), 3);
}
