// The description checks on small skins written here: each kind of finding
// once, on the line it must name, and a clean skin that gives none.

#include <quillon/testing.h>

#include <string>
#include <tuple>

#include "support/picture_files.h"
#include "support/wav_files.h"
#include "tools/Lint.h"

using quillon::lint::Kind;
using quillon::lint::Severity;

namespace {

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;

// Lines 1 to 4 of most cases.
const std::string kBase = "BG\nBMP|\"bg.bmp\"\nEND\nPROGRAMMARGIN|180\n";
const std::string kCalendar =
    "CALENDAR\nBMPWEEK|\"wk\"\n"
    "BMPTEXT|\"i.bmp\"\nBMPTEXT|\"i.bmp\"\nBMPTEXT|\"i.bmp\"\nBMPTEXT|\"i.bmp\"\n"
    "BMPTEXT|\"i.bmp\"\nBMPTEXT|\"i.bmp\"\nBMPTEXT|\"i.bmp\"\nEND\n";

struct Skin {
    quillon::testing::Harness h;
    picturetest::TempDir dir;

    Skin() {
        dir.Write("bg.bmp", picturetest::MakeBmp24(4, 3, std::vector<std::uint32_t>(12, 0x203040)));
        dir.Write("i.bmp", picturetest::MakeGreyBmp(2, 2, {0, 255, 128, 0}));
        for (const char* c : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "slash"}) {
            dir.Write(std::string("wk") + c + ".bmp", picturetest::MakeGreyBmp(1, 1, {255}));
            if (c[1] == '\0')
                dir.Write(std::string("nd") + c + ".bmp", picturetest::MakeGreyBmp(1, 1, {255}));
        }
        for (const std::string name : {"v5", "rle"})
            dir.Write(name + ".bmp",
                      picturetest::ReadAll(picturetest::BmpSuite("g/pal8" + name + ".bmp")));
        dir.Write("click.wav", wavtest::Wav(wavtest::Fmt(1, 1, 8000, 16), wavtest::Bytes(4, 0)));
        dir.Write("adpcm.wav", wavtest::Wav(wavtest::Fmt(2, 1, 8000, 4), wavtest::Bytes(4, 0)));
    }

    // "@DIR@" stands for the skin's folder.
    quillon::lint::Report Lint(std::string text) {
        for (std::size_t at; (at = text.find("@DIR@")) != std::string::npos;)
            text.replace(at, 5, dir.Path(""));
        const std::string ini = dir.Write("TARVIK.INI", picturetest::Tabs(text));
        return quillon::lint::LintDescription(ini, dir.Path(""));
    }
};

// A finding on `line` whose message holds `says`.
struct Want {
    int line;
    Severity severity;
    Kind kind;
    const char* says;
};

std::string Describe(const quillon::lint::Report& r) {
    std::string out;
    for (const auto& f : r.findings) out += quillon::lint::FormatFinding("INI", f) + "\n";
    return out;
}

}  // namespace

TEST(Lint, ACleanSkinGivesNoFindingAndNamesItsBackground) {
    Skin skin;
    // Comments, blank lines and CR LF line ends count as lines too.
    const std::string text =
        "// a small skin\r\n" + kBase + "\n" + kCalendar +
        "CALENDARBALLOONHELP\nFRAME|L|SURFACE|\"i.bmp\"\nICON|FM|\"i.bmp\"\nEND\n"
        "DEVICE\nNAME|\"CD/DVD\"\nVIEW|TIMER\nPOSITION|10, 20\nL|ICON|\"i.bmp\"\n"
        "L|ICONANIME|\"i.bmp\"\nL|ICONANIME|\"i.bmp\"\nL|ANIMEORDER|0,1,1\n"
        "TOOLHINT|ALL:-1,T:2|\"%s\"\nDRAG|\"CD/DVD\"|1|0\nEND\n"
        "CALENDARSCROLLBUTTON\nKIND|UP\nICON|\"i.bmp\"\nICONANIME|\"i.bmp\"\n"
        "ONPERIODICDRAGTIME|500\nSIZE|4,4\nEND\n"
        "SLOTBUTTON\nICON|\"i.bmp\"\nSLOTNO|1\nEND\n"
        "SLOTBUTTON\nICON|\"i.bmp\"\nSLOTNO|2\nEND\n"
        "SLOTBUTTON_ALL|TOOLHINT|\"free\"|\"%s\"\n"
        "TOP\nLINEPOINT|\"i.bmp\"\nEND\n"
        "SE|DEVICECLICK|\"@DIR@click.wav\"\nCOLOR|NORMAL|255,255,255\n";
    const auto r = skin.Lint(text);
    EXPECT_TRUE(r.findings.empty()) << Describe(r);
    EXPECT_EQ(r.errors + r.warnings, 0);
    EXPECT_EQ(r.background, skin.dir.Path("bg.bmp"));
}

TEST(Lint, EveryKindOfFindingOnItsLine) {
    const std::string slot1 = "SLOTBUTTON\nICON|\"i.bmp\"\nSLOTNO|1\nEND\n";
    const std::string hints = "SLOTBUTTON_ALL|TOOLHINT|\"a\"|\"b\"\n";
    const std::string balloon = "CALENDARBALLOONHELP\nFRAME|L|SURFACE|\"i.bmp\"\nEND\n";
    const struct {
        const char* what;
        std::string text;
        std::vector<Want> want;
    } cases[] = {
        {"unknown statement",
         kBase + "SLOTBUTTONALL|TOOLHINT|\"a\"|\"b\"\n",
         {{5, W, Kind::UnknownStatement, "SLOTBUTTONALL is no section"}}},
        {"stray END", kBase + "END\n", {{5, W, Kind::UnknownStatement, "outside a section"}}},
        {"unknown keys: of the section, of a set, of another section",
         kBase + "GOTODAYBUTTON\nICON|\"i.bmp\"\nICONS|\"i.bmp\"\nEND\n"
                 "DEVICE\nNAME|\"MD\"\nS|ICONS|\"i.bmp\"\nEND\n"
                 "CHANGE\nICON|\"i.bmp\"\nICONANIME|\"i.bmp\"\nEND\n",
         {{7, W, Kind::UnknownKey, "ICONS is no key of GOTODAYBUTTON"},
          {11, W, Kind::UnknownKey, "S ICONS"},
          {15, W, Kind::UnknownKey, "ICONANIME is no key of CHANGE"}}},
        {"section before BG, margin that is no number",
         "TOP\nLINEPOINT|\"i.bmp\"\nEND\nBG\nBMP|\"bg.bmp\"\nEND\nPROGRAMMARGIN|min\n",
         {{1, E, Kind::BeforeBg, "TOP before BG"}, {7, E, Kind::BadValue, "becomes -1"}}},
        {"second BG", kBase + "BG\nEND\n", {{5, E, Kind::SecondBg, "first is on line 1"}}},
        {"no BG", "PROGRAMMARGIN|180\n", {{1, E, Kind::NoBg, "no window"}}},
        {"VIEW that is no view, POSITION of one number, SIZE with a blank before the comma",
         kBase + "GOTODAYBUTTON\nICON|\"i.bmp\"\nVIEW|TIMR\nPOSITION|1,2\nEND\n"
                 "NEWMAKE\nICON|\"i.bmp\"\nVIEW|TIMER\nPOSITION|10\nEND\n"
                 "CHANGE\nICON|\"i.bmp\"\nSIZE|10 ,20\nEND\n",
         {{7, E, Kind::BadView, "\"TIMR\" is no view"},
          {13, E, Kind::BadPlacement, "in TIMER"},
          {17, E, Kind::BadPlacement, "two numbers"}}},
        {"placement after an item key, SIZE before ICON",
         kBase + "DEVICE\nNAME|\"MD\"\nVIEW|TIMER\nL|ICON|\"i.bmp\"\nVISIBLE|FALSE\nSIZE|1,1\n"
                 "END\nCHANGE\nSIZE|30,30\nICON|\"i.bmp\"\nEND\n",
         {{9, W, Kind::ViewReset, "line 8 ended the VIEW of line 7"},
          {14, W, Kind::BadValue, "SIZE on line 13 is overwritten"}}},
        {"missing picture, and a background and a picture the loader refuses",
         "BG\nBMP|\"rle.bmp\"\nEND\nPROGRAMMARGIN|180\nGOTODAYBUTTON\nICON|\"none.bmp\"\nEND\n"
         "DEVICE\nNAME|\"MD\"\nL|DEVICENAME|\"v5.bmp\"\nEND\n",
         {{2, E, Kind::Picture, "compressed BMP is not supported"},
          {6, E, Kind::Picture, "ICON \"none.bmp\": cannot be opened"},
          {10, E, Kind::Picture, "124-byte header is not supported"}}},
        {"animation frame that does not load",
         kBase + "TRASH\nICON|\"i.bmp\"\nICONANIME|\"no.bmp\"\nICONANIME|\"i.bmp\"\n"
                 "ANIMEORDER|0,1\nANIMEORDER|,\nEND\n",
         {{7, E, Kind::Picture, "ICONANIME \"no.bmp\""},
          {9, E, Kind::BadValue, "do not give (1 loaded)"},
          {10, W, Kind::BadValue, "gives no frame"}}},
        {"font prefix that names nothing",
         kBase + "CALENDAR\nBMPWEEK|\"week\"\n" + kCalendar.substr(kCalendar.find("BMPTEXT")),
         {{6, E, Kind::Picture, "no glyph loads (\"week0.bmp\": cannot be opened)"}}},
        {"font without its slash",
         kBase + "CALENDAR\nBMPWEEK|\"nd\"\n" + kCalendar.substr(kCalendar.find("BMPTEXT")),
         {{6, E, Kind::Picture, "glyph \"ndslash.bmp\": cannot be opened"}}},
        {"missing sound and sounds the player refuses",
         kBase + "SE|DEVICEMOUSEOVER|\"over.wav\"\nSE|DEVICEDRAGDROP|\"@DIR@i.bmp\"\n"
                 "SE|DEVICECLICK|\"@DIR@adpcm.wav\"\n",
         {{5, E, Kind::Sound, "from the host's working folder"},
          {6, E, Kind::Sound, "is not played: not a WAV file"},
          {7, E, Kind::Sound, "adpcm.wav\" is not played: compressed WAV is not supported"}}},
        {"six weekdays",
         kBase + "CALENDAR\nBMPWEEK|\"wk\"\n" + kCalendar.substr(kCalendar.find("BMPTEXT") + 16),
         {{5, E, Kind::WeekdayCount, "has 6 BMPTEXT lines"}}},
        {"slot taken twice, slot 9 and a slot button without a slot",
         kBase + slot1 + "SLOTBUTTON\nSLOTNO|1\nICON|\"i.bmp\"\nEND\n" +
             "SLOTBUTTON\nICON|\"i.bmp\"\nSLOTNO|9\nEND\nSLOTBUTTON\nICON|\"i.bmp\"\nEND\n",
         {{10, E, Kind::SlotNumber, "has a button already (on line 7)"},
          {15, E, Kind::SlotNumber, "\"9\" is outside the slots 1 to 8"},
          {17, E, Kind::SlotNumber, "without SLOTNO"}}},
        {"no margin", "BG\nBMP|\"bg.bmp\"\nEND\n", {{3, E, Kind::NoMargin, "PROGRAMMARGIN"}}},
        {"tool hint formats that show otherwise",
         kBase + "DEVICE\nNAME|\"MD\"\nTOOLHINT|ALL:-1|\"%s %s\"\nEND\n" + slot1 +
             "SLOTBUTTON_ALL|TOOLHINT|\"%5.2d %q\"|\"%x %n\"\n",
         {{7, W, Kind::BadValue, "2 conversions for 1 value: the rest show nothing"},
          {13, W, Kind::BadValue, "\"%q\" is no conversion"},
          {13, W, Kind::BadValue, "used slot's text \"%x %n\": \"%n\" is no conversion"}}},
        {"slot hints before every slot button",
         kBase + hints + slot1,
         {{5, E, Kind::SlotHints, "before any SLOTBUTTON"}}},
        {"slot button after the slot hints",
         kBase + slot1 + hints + "SLOTBUTTON\nICON|\"i.bmp\"\nSLOTNO|2\nEND\n",
         {{10, E, Kind::SlotHints, "after SLOTBUTTON_ALL (line 9)"}}},
        {"balloon before the calendar",
         kBase + balloon + kCalendar,
         {{5, E, Kind::BalloonOrder, "(line 8)"}}},
        {"balloon without its surface",
         kBase + kCalendar + "CALENDARBALLOONHELP\nEND\n",
         {{15, E, Kind::Missing, "FRAME L SURFACE"}}},
        {"device no operation reaches, drag onto no device, scroll button without a direction, "
         "colour of two components, end of file in a section",
         kBase + "DEVICE\nNAME|\"CD\"\nEND\nDEVICE\nNAME|\"MD\"\nDRAG|\"CD/DVD\"|1|0\nEND\n"
                 "CALENDARSCROLLBUTTON\nKIND|LEFT\nICON|\"i.bmp\"\nICONANIME|\"i.bmp\"\nEND\n"
                 "COLOR|GRAY|1,2\nGOTODAYBUTTON\nICON|\"i.bmp\"\n",
         {{6, W, Kind::DeviceName, "\"CD\" is none of"},
          {10, W, Kind::BadValue, "no device has that name"},
          {13, E, Kind::BadValue, "neither UP nor DOWN"},
          {17, E, Kind::BadValue, "become 255"},
          {18, E, Kind::EndOfFile, "END is missing"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Skin skin;
        const auto r = skin.Lint(c.text);
        std::vector<std::tuple<int, Severity, Kind>> got, want;
        for (const auto& f : r.findings) got.emplace_back(f.line, f.severity, f.kind);
        for (const Want& w : c.want) want.emplace_back(w.line, w.severity, w.kind);
        ASSERT_EQ(got, want) << Describe(r);
        for (std::size_t i = 0; i < want.size(); ++i)
            EXPECT_NE(r.findings[i].message.find(c.want[i].says), std::string::npos) << Describe(r);
    }
}
