// The description file: the line reader's lexical rules, then screens built
// from small files: the one-line statements, the scope of VIEW, sections out
// of place, and files that are missing, cut short or name a missing picture.
#include <climits>
#include <filesystem>

#include "frame_fixture.h"
#include "tests/schedule/sched_helpers.h"

using namespace frametest;
using Lines = std::vector<std::vector<std::string>>;

namespace {

std::vector<std::string> Trimmed(std::vector<std::string> tokens) {
    while (!tokens.empty() && tokens.back().empty()) tokens.pop_back();
    return tokens;
}

// Every token line of `bytes` read from a file, trailing empty tokens cut.
Lines ReadAll(const std::string& bytes) {
    picturetest::TempDir dir;
    CIniFile ini;
    EXPECT_TRUE(ini.Open(dir.Write("x.ini", bytes).c_str(), CFile::modeRead | CFile::typeText));
    Lines lines;
    CStringArray tokens;
    while (ini.ReadTokenLine(&tokens)) {
        // (The 17th entry goes into the line too: a token kept there shows.)
        EXPECT_GE(tokens.GetSize(), CIniFile::kTokens);
        std::vector<std::string> line;
        for (int i = 0; i < CIniFile::kTokens; ++i) line.push_back(tokens[i].str());
        lines.push_back(Trimmed(line));
    }
    return lines;
}

}  // namespace

TEST(IniFileTest, LexicalRulesAndNumberLists) {
    std::string seventeen;
    for (int i = 0; i < 18; ++i) seventeen += "t" + std::to_string(i) + "\t";
    const std::pair<std::string, Lines> cases[] = {
        // TAB separates; "//" starts a comment only at the start of a token.
        {"NAME\t\"FM TUNER\"\n\t\tposition\t10, 20\nkey\tvalue // a note\n"
         "key\tvalue\t// a note\tmore\n// a whole comment line\n\n\t\t\nend\n",
         {{"NAME", "FM TUNER"},
          {"POSITION", "10, 20"},
          {"KEY", "VALUE // A NOTE"},
          {"KEY", "VALUE"},
          {"END"}}},
        // Quotes keep case, double-byte characters are not upper-cased (ヂ's
        // trail byte looks like 'a'); a lone quote and a pair unquote to
        // nothing; one quote at the end only is not a quoted token.
        {"BMP\tback.bmp\t\"back.bmp\"\nTIP\t\"\x83\x61 mixed\"\t\x83\x61x\nQ\t\"\t\"\"\tab\"\n",
         {{"BMP", "BACK.BMP", "back.bmp"},
          {"TIP", "\x83\x61 mixed", "\x83\x61X"},
          {"Q", "", "", "AB\""}}},
        // The 17th token and later are lost.
        {seventeen + "\n",
         {{"T0", "T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8", "T9", "T10", "T11", "T12", "T13",
           "T14", "T15"}}},
        // CR before LF is dropped, a lone CR is not; the last line needs no LF.
        {"BG\r\nNAME\t\"x\"\r\n\r\nEND\r\nA\rB\tc",
         {{"BG"}, {"NAME", "x"}, {"END"}, {"A\rB", "C"}}},
        {"", {}},
        {"\n\n//x\n", {}},
    };
    for (const auto& [bytes, lines] : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(ReadAll(bytes), lines);
    }
    CIniFile missing;
    EXPECT_FALSE(missing.Open("/nonexistent/TARVIK.INI", CFile::modeRead | CFile::typeText));
    CStringArray tokens;
    EXPECT_FALSE(missing.ReadTokenLine(&tokens));

    // ScanInts reads comma-separated numbers as scanf does.
    // {text, numbers read, the three numbers afterwards (7: left alone)}
    const std::tuple<const char*, int, std::vector<int>> ints[] = {
        {"300,0,-1", 3, {300, 0, -1}},
        {" +1, 2x,3", 2, {1, 2, 7}},  // a blank after the comma is fine; "x" is no comma
        {"5 ,6", 1, {5, 7, 7}},       // the comma must follow directly
        {"", 0, {7, 7, 7}},
        {"-", 0, {7, 7, 7}},
        {nullptr, 0, {7, 7, 7}},
        {"99999999999999999999999,-99999999999", 2, {INT_MAX, INT_MIN, 7}},  // held, not wrapped
    };
    for (const auto& [text, read, numbers] : ints) {
        SCOPED_TRACE(text != nullptr ? text : "null");
        int v[3] = {7, 7, 7};
        EXPECT_EQ(CIniFile::ScanInts(text, v, 3), read);
        EXPECT_EQ(std::vector<int>(v, v + 3), numbers);
    }
}

// The rules themselves are the line reader's (above); the BG and the last
// section show that the sections get their lines through it.
TEST(DescriptionTest, SectionsReadTheirLinesColoursSoundsSlotHintsAndTheProgramMargin) {
    ScreenScene s;
    auto colours = [](CQMainScreen& c) {
        return std::vector<COLORREF>{c.GetColor(), c.GetSelectColor(), c.GetGrayColor()};
    };
    CQMainScreen& plain = s.Build("BG\nEND\n");
    EXPECT_EQ(colours(plain), (std::vector<COLORREF>{0xFFFFFF, 0xFFFF00, 0x808080}));
    EXPECT_EQ(plain.GetProgramMargin(), 180);
    CQMainScreen& screen = s.Build(
        "COLOR\tNORMAL\t300,0,-1\nCOLOR\tSELECT\t1,2\nCOLOR\tGRAY\tx\nCOLOR\tPINK\t1,1,1\n"
        "SE\tDEVICECLICK\t\"a.wav\"\nSE\tDEVICECLICK\t\"b.wav\"\n"
        "SE\tDEVICEMOUSEOVER\t\"Over.wav\"\nSE\tDEVICEWHATEVER\t\"x.wav\"\n"
        "PROGRAMMARGIN\t600\n"
        "SLOTBUTTON_ALL\tTOOLHINT\t\"early\"\t\"early\"\n"
        "BG\r\n\tNAME\t\"Back\"\r\nEND\r\n// a comment line\r\n\r\n"
        "SLOTBUTTON\nNAME\t\"S1\"\nEND\nSLOTBUTTON\nNAME\t\"S2\"\nEND\n"
        "SLOTBUTTON_ALL\tTOOLHINT\t\"free %d\"\t\"used %d %s\"\n"
        "SLOTBUTTON_ALL\tOTHER\t\"a\"\t\"b\"\n"
        "SLOTBUTTON\nNAME\t\"S3\"\nEND\n"
        "device\r\n\t\tname\t\"md\"\r\ntip\t\x83\x61x\t// a note\r\nEnd");
    EXPECT_EQ(dynamic_cast<CQItem*>(screen.GetRootItem())->GetName(), "Back");
    auto* md = s.Item<FakeDevice>("md");
    ASSERT_TRUE(md != nullptr && md->lines.size() == 1u);
    EXPECT_EQ(md->lines[0].tokens.size(), 17u);
    EXPECT_EQ(Trimmed(md->lines[0].tokens), (std::vector<std::string>{"TIP", "\x83\x61X"}));
    // The missing blue counts as 255.
    EXPECT_EQ(colours(screen),
              (std::vector<COLORREF>{RGB(44, 0, 255), RGB(1, 2, 255), RGB(255, 255, 255)}));
    // The later line wins; without a line nothing is heard.
    EXPECT_EQ(screen.GetSeClick() + "|" + screen.GetSeMouseOver() + "|" + screen.GetSeDragDrop(),
              "b.wav|Over.wav|");
    // The hints go only to the buttons above the line.
    EXPECT_EQ(Filter(Events(), "hints"), (Log{"slot:S1 hints 'free %d' 'used %d %s'",
                                              "slot:S2 hints 'free %d' 'used %d %s'"}));
    // The reservation rules keep programs the file's margin apart.
    EXPECT_EQ(screen.GetProgramMargin(), 600);
    ASSERT_TRUE(screen.SetProgram(schedtest::Single(1, 2025, 1, 8, 10, 0, 11, 0)));
    EXPECT_TRUE(screen.ChkOverlapProg(schedtest::Single(2, 2025, 1, 8, 11, 5, 12, 0)) == -2 &&
                screen.ChkOverlapProg(schedtest::Single(2, 2025, 1, 8, 11, 10, 12, 0)) == 0);
    EXPECT_TRUE(s.Build("PROGRAMMARGIN\tsoon\nBG\nEND\n").GetProgramMargin() == -1 &&
                s.Build("PROGRAMMARGIN\t 60s\nBG\nEND\n").GetProgramMargin() == 60);
    EXPECT_TRUE(s.h.MessageBoxes().empty());
}

TEST(DescriptionTest, ViewGovernsTheCommonKeysUpToTheNextItemLine) {
    ScreenScene s;
    s.Build(
        "BG\nEND\nDEVICE\nNAME\t\"D\"\n"
        "VIEW\tTIMER\nPOSITION\t5,6\nSIZE\t20, 10\nL\tICON\tx.bmp\n"
        "VISIBLE\tFALSE\n"                                // after the item line: view 0 again
        "VIEW\tLUNCHER\nPOSITION\t7\nSIZE\t30\n"          // x and width only
        "VIEW\tBOGUS\nPOSITION\t50,50\nVISIBLE\tFALSE\n"  // no such view: ignored
        "DEFAULTTOOLTIP\t\"tip\"\n"                       // not a placement: applies
        "VIEW\tAUDIO\nSIZE\t99999999,-5\nPOSITION\t-99999999999,40\nEND\n");
    auto* d = s.Item<FakeDevice>("D");
    ASSERT_TRUE(d != nullptr && d->lines.size() == 1u);
    EXPECT_EQ(d->lines[0].view, 2);
    EXPECT_EQ(Trimmed(d->lines[0].tokens), (std::vector<std::string>{"L", "ICON", "X.BMP"}));
    EXPECT_EQ(d->GetDefaultToolHint(), "tip");
    // View 0: hidden, sizes held to the 16-bit range, a negative one empty. View 3
    // cannot be named, and construction ends in it.
    const std::tuple<int, bool, CRect> placements[] = {{0, false, {-32768, 40, -1, 40}},
                                                       {1, true, {7, 0, 37, 0}},
                                                       {2, true, {5, 6, 25, 16}},
                                                       {3, true, {0, 0, 0, 0}}};
    for (const auto& [view, visible, rect] : placements) {
        EXPECT_EQ(d->GetViewPlacement(view)->visible, visible) << view;
        EXPECT_TRUE(view == 3 || d->GetViewPlacement(view)->rect == rect) << view;
    }
    EXPECT_TRUE(d->GetRect() == CRect(0, 0, 0, 0) && d->GetViewPlacement(4) == nullptr);
    // The three names are the views 0 to 2 (above); nothing else is a view.
    for (const char* name : {"audio", "LAUNCHER", ""})
        EXPECT_EQ(CQMainScreen::ViewName2No(name), -1) << name;
}

TEST(DescriptionTest, SectionsOutOfPlaceAreReadAndDropped) {
    ScreenScene s;
    s.dir.Write("bg.bmp", picturetest::MakeBmp24(1, 1, {0xFF0000}));
    CQMainScreen& screen = s.Build(
        "DEVICE\nNAME\t\"early\"\nCOLOR\tNORMAL\t1,2,3\nEND\n"  // before BG
        "END\nFOO\tBAR\nNAME\t\"stray\"\n"
        "BG\nBMP\t\"bg.bmp\"\nEND\n"
        "CALENDARBALLOONHELP\nCOLOR\tNORMAL\t4,5,6\nEND\n"   // no class yet
        "BG\nBMP\t\"missing.bmp\"\nNAME\t\"second\"\nEND\n"  // a second BG
        "TOP\nNAME\t\"T1\"\nEND\nTOP\nNAME\t\"T2\"\nEND\n"   // the second replaces the first
        "DEVICE\nNAME\t\"outer\"\nDEVICE\nNAME\t\"inner\"\nEND\n"
        "COLOR\tNORMAL\t7,8,9\n");
    EXPECT_TRUE(s.h.MessageBoxes().empty());
    EXPECT_EQ(screen.GetColor(), RGB(7, 8, 9));
    EXPECT_EQ(screen.GetBgBmp(), s.PictureDir() + "bg.bmp");
    EXPECT_NE(dynamic_cast<CQItem*>(screen.GetRootItem())->GetName(), "second");
    // One TOP item; the first was taken out of the tree at once.
    ASSERT_NE(s.Item<FakeItem>("T2"), nullptr);
    EXPECT_EQ(Filter(Events(), "top:T1"), (Log{"top:T1 made", "top:T1 deleted parent=bg wnd=yes"}));
    EXPECT_EQ(screen.GetRootItem()->GetChildCount(), 2);
    // A section keyword inside a section is one of its lines.
    auto* nested = s.Item<FakeDevice>("inner");
    ASSERT_TRUE(nested != nullptr && nested->lines.size() == 1u);
    EXPECT_EQ(nested->lines[0].tokens[0], "DEVICE");
    // T2 and the device only: names are looked up in this table, so neither
    // "early" nor T1 can be found.
    CTypedPtrArray<CPtrArray, CQItem*> items;
    screen.GetTblpCQItem(&items);
    EXPECT_EQ(items.GetSize(), 2);
    s.screen.reset();
    EXPECT_EQ(Filter(Events(), "deleted").size(), 3u);  // T1 once, T2 and the device
}

TEST(DescriptionTest, FilesCutShortMissingOrNamingAMissingPicture) {
    ScreenScene s;
    // End of file inside a section: one box, and construction finishes.
    for (const char* ini : {"BG\nNAME\t\"b\"\n", "BG\nEND\nCHANGE\nNAME\tx",
                            "BG\nEND\nBG\nNAME\tx\n", "BG\nEND\nDEVICE\nNAME\t\"d\"\nVIEW"}) {
        SCOPED_TRACE(ini);
        s.Build(ini);
        EXPECT_EQ(s.NewBoxes(), Log{"Error: Ini File Error"});
        EXPECT_TRUE(s.screen->GetpCWnd() != nullptr && s.screen->GetViewMode() == 3);
    }
    EXPECT_NE(s.Item<FakeDevice>("d"), nullptr);  // the item keeps what it read

    // A BG picture that fails: two boxes, in order, and reading goes on.
    CQMainScreen& screen = s.Build("BG\nBMP\tmissing.bmp\nEND\n");
    const std::string path = s.PictureDir() + "MISSING.BMP";  // unquoted: upper-cased
    EXPECT_EQ(s.NewBoxes(), (Log{"FileError: " + path, "Error: " + path}));
    EXPECT_TRUE(screen.GetBgBmp() == "" && screen.GetViewMode() == 3);

    // A folder, a device that never ends (only a plain file is read) or a
    // missing file: "File Error " and an empty screen in view mode 0.
    for (const std::string& path :
         {s.PictureDir(), std::string("/dev/zero"), std::string("/nonexistent/TARVIK.INI")}) {
        CString ini(path);
        CQMainScreen empty("QuillonTest", s.parent, CRect(0, 0, 100, 100), &ini, nullptr);
        EXPECT_EQ(s.NewBoxes(), Log{"Error: File Error " + path});
        EXPECT_TRUE(empty.GetpCWnd() == nullptr && empty.GetRootItem() == nullptr);
        EXPECT_TRUE(empty.GetViewMode() == 0 && empty.GetEmptySlotNo() == -1);
        EXPECT_FALSE(empty.ChangeBgBmp(CString(s.PictureDir() + "x.bmp")) ||
                     empty.SetProgDefaultTime("CD/DVD", CTimeSpan(600)));
    }
    EXPECT_EQ(s.h.CursorId(), 32512);  // the arrow all the same
    // No path: the default is beside the executable; no parent: no owner.
    std::string dir = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    CQMainScreen byDefault("QuillonTest", nullptr, CRect(0, 0, 640, 480), nullptr, nullptr);
    EXPECT_EQ(s.NewBoxes(), Log{"Error: File Error " + dir + "/TARVIK.INI"});
    // A readable description without a parent: no window, no crash.
    s.WriteIni("BG\nEND\n");
    CString ini(s.IniPath());
    CQMainScreen orphan("QuillonTest", nullptr, CRect(0, 0, 100, 100), &ini, nullptr);
    EXPECT_TRUE(orphan.GetpCWnd() == nullptr && orphan.GetRootItem() != nullptr);
    EXPECT_EQ(orphan.GetViewMode(), 3);
    orphan.AllRedraw(true);
    EXPECT_TRUE(s.NewBoxes().empty());
}
