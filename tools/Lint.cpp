#include "tools/Lint.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include <quillon/QMainScreen.h>

#include "devices/HintFormat.h"
#include "frame/IniFile.h"
#include "frame/ItemAnimation.h"
#include "frame/SectionTable.h"
#include "frame/pictures/BitmapFont.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "platform/WavFile.h"

namespace quillon {
namespace lint {
namespace {

bool Is(const CString& token, const char* keyword) {
    return _mbscmp(token, keyword) == 0;
}

std::string Q(const CString& s) {
    return "\"" + ToUtf8(s) + "\"";
}

std::string Line(int n) {
    return "line " + std::to_string(n);
}

const char* const kViewNames[] = {"AUDIO", "LUNCHER", "TIMER"};

// The names that give a device its drawing rules and that the host's
// device operations and callbacks use.
const char* const kDeviceNames[] = {"CD/DVD",     "MD",      "FM TUNER", "NKX",
                                    "SOUND CHIP", "SPEAKER", "OPT IN",   "OPT OUT"};

const char* const kBalloonIcons[] = {"CDDVD", "MD", "FM", "NKX", "FMMD"};

bool IsPlainFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

enum class SectionKind {
    Bg,
    Device,
    Calendar,
    Scroll,
    Balloon,
    Trash,
    Change,
    Newmake,
    Slot,
    GoToday,
    DragFrame,
    Top
};

struct SectionName {
    const char* keyword;
    SectionKind kind;
};
const SectionName kSections[] = {
    {"DEVICE", SectionKind::Device},
    {"CALENDAR", SectionKind::Calendar},
    {"CALENDARSCROLLBUTTON", SectionKind::Scroll},
    {"CALENDARBALLOONHELP", SectionKind::Balloon},
    {"TRASH", SectionKind::Trash},
    {"CHANGE", SectionKind::Change},
    {"NEWMAKE", SectionKind::Newmake},
    {"SLOTBUTTON", SectionKind::Slot},
    {"GOTODAYBUTTON", SectionKind::GoToday},
    {"DRAGINGITEMFRAME", SectionKind::DragFrame},
    {"TOP", SectionKind::Top},
};

// Items that cover the whole screen in every view, or stand outside the
// views altogether: their VISIBLE, POSITION and SIZE lines change nothing.
bool IgnoresPlacement(SectionKind k) {
    return k == SectionKind::Bg || k == SectionKind::Balloon || k == SectionKind::DragFrame ||
           k == SectionKind::Top;
}

bool IsButton(SectionKind k) {
    return k == SectionKind::Scroll || k == SectionKind::Trash || k == SectionKind::Change ||
           k == SectionKind::Newmake || k == SectionKind::Slot || k == SectionKind::GoToday;
}

// One section while it is read.
struct Section {
    CString keyword;
    SectionKind kind = SectionKind::Bg;
    int line = 0;
    CString name = "UNTITLED";
    int nameLine = 0;
    // The view the common keys set, as the reader keeps it: a VIEW line
    // chooses it, every item line sends it back to AUDIO.
    int chosenView = 0;
    int viewLine = 0;
    int itemLine = 0;  // the last item line since the VIEW line, 0 when none
    bool resetWarned = false;
    int sizeLine[3] = {0, 0, 0};  // the last SIZE line of each named view
};

// An animated picture as the item builds it, so that ANIMEORDER is judged
// against the frames that really loaded above it.
struct Anime {
    std::unique_ptr<CItemAnimation> animation = std::make_unique<CItemAnimation>();
    int lines = 0;
};

class Linter {
public:
    explicit Linter(std::string pictureDir) : m_dir(std::move(pictureDir)) {}

    Report Run(const std::string& path);

private:
    void Add(int line, Severity s, Kind k, std::string message) {
        m_report.findings.push_back({line, s, k, std::move(message)});
    }
    void Error(int line, Kind k, std::string m) { Add(line, Severity::Error, k, std::move(m)); }
    void Warning(int line, Kind k, std::string m) { Add(line, Severity::Warning, k, std::move(m)); }

    void ReadSection(Section& s);
    bool NextItemLine(Section& s, CStringArray* t);
    void CheckPlacement(Section& s, const CString& key, const CString& value, int line);
    bool ButtonKey(Section& s, const CStringArray& t, int line, Anime& anime, bool& icon);
    bool DeviceKey(Section& s, const CStringArray& t, int line, Anime* sets);
    void HintFormat(int line, const std::string& what, const CString& text, std::size_t values);
    void OneLineStatement(const CStringArray& t, int line);
    void Finish(int lastLine);

    bool Picture(int line, const std::string& what, const CString& file);
    bool Frame(int line, const std::string& what, const CString& file, Anime& anime);
    void Order(int line, const std::string& what, const CString& value, Anime& anime);
    void Number(int line, const std::string& what, const CString& value, bool positive);
    void Font(int line, const CString& prefix);
    void Sound(int line, const CString& event, const CString& file);
    // A key that gives the item its picture's size overwrites earlier SIZE lines.
    void SizedBy(const Section& s, int line, const std::string& what, int firstView, int lastView);

    CIniFile m_ini;
    std::string m_dir;
    Report m_report;
    bool m_eof = false;

    int m_bgLine = 0;
    bool m_margin = false;
    int m_calendarLine = 0;
    std::vector<int> m_balloonsBeforeCalendar;
    std::vector<int> m_slotLines;
    std::vector<std::pair<int, int>> m_slotNumbers;  // number, line
    std::vector<std::pair<int, int>> m_slotHints;    // line, slot buttons before it
    std::vector<std::pair<CString, int>> m_devices;  // name, line
    std::vector<std::pair<CString, int>> m_dragTargets;
    int m_firstLine[12] = {};
};

Report Linter::Run(const std::string& path) {
    if (!IsPlainFile(path) || !m_ini.Open(path.c_str(), CFile::modeRead | CFile::typeText)) {
        Error(0, Kind::CannotOpen,
              "cannot be opened: the screen shows \"File Error\" and stays empty");
    } else {
        CStringArray t;
        while (!m_eof && m_ini.ReadTokenLine(&t)) {
            const int line = m_ini.GetLineNo();
            const CString key = t[0];
            const SectionName* named = nullptr;
            for (const SectionName& n : kSections)
                if (Is(key, n.keyword)) named = &n;
            Section s;
            s.keyword = key;
            s.line = line;
            if (Is(key, "BG")) {
                s.kind = SectionKind::Bg;
                if (m_bgLine != 0) {
                    Error(
                        line, Kind::SecondBg,
                        "a second BG (the first is on " + Line(m_bgLine) + ") is read and dropped");
                } else {
                    m_bgLine = line;
                }
                ReadSection(s);
            } else if (named != nullptr && quillon::frame::FindSection(key) != nullptr) {
                s.kind = named->kind;
                if (m_bgLine == 0)
                    Error(line, Kind::BeforeBg,
                          ToUtf8(key) +
                              " before BG: items hang under the background, so the "
                              "section is read and dropped");
                ReadSection(s);
            } else {
                OneLineStatement(t, line);
            }
        }
        Finish(std::max(1, m_ini.GetLineNo()));
        m_ini.Close();
    }
    std::stable_sort(m_report.findings.begin(), m_report.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    for (const Finding& f : m_report.findings)
        ++(f.severity == Severity::Error ? m_report.errors : m_report.warnings);
    return std::move(m_report);
}

// The common keys, as every item reads them; true with an item line.
bool Linter::NextItemLine(Section& s, CStringArray* t) {
    for (;;) {
        if (!m_ini.ReadTokenLine(t)) {
            Error(s.line, Kind::EndOfFile,
                  "the file ends inside this " + ToUtf8(s.keyword) +
                      " section: END is missing (\"Ini File Error\")");
            m_eof = true;
            return false;
        }
        const int line = m_ini.GetLineNo();
        const CString& key = t->GetAt(0);
        const CString& value = t->GetAt(1);
        if (Is(key, "END")) return false;
        if (Is(key, "VIEW")) {
            s.chosenView = CQMainScreen::ViewName2No(value);
            s.viewLine = line;
            s.itemLine = 0;
            s.resetWarned = false;
            if (s.chosenView < 0)
                Error(line, Kind::BadView,
                      "VIEW " + Q(value) +
                          " is no view (AUDIO, LUNCHER or TIMER): the VISIBLE, POSITION and "
                          "SIZE lines after it are ignored");
        } else if (Is(key, "NAME")) {
            s.name = value;
            s.nameLine = line;
        } else if (Is(key, "DEFAULTTOOLTIP")) {
            if (s.kind == SectionKind::Slot)
                Warning(line, Kind::BadValue,
                        "slot buttons show the SLOTBUTTON_ALL texts, never DEFAULTTOOLTIP");
        } else if (Is(key, "VISIBLE") || Is(key, "POSITION") || Is(key, "SIZE")) {
            CheckPlacement(s, key, value, line);
        } else {
            s.itemLine = line;
            s.resetWarned = false;
            return true;
        }
    }
}

void Linter::CheckPlacement(Section& s, const CString& key, const CString& value, int line) {
    const std::string k = ToUtf8(key);
    if (IgnoresPlacement(s.kind))
        Warning(line, Kind::BadValue,
                k + " changes nothing in " + ToUtf8(s.keyword) +
                    ": it covers the whole screen in every view");
    int view = s.chosenView;
    if (s.itemLine != 0) {
        view = 0;
        if (s.viewLine != 0 && s.chosenView != 0 && !s.resetWarned) {
            s.resetWarned = true;
            Warning(line, Kind::ViewReset,
                    k + " applies to AUDIO: the item line on " + Line(s.itemLine) +
                        " ended the VIEW of " + Line(s.viewLine) +
                        "; repeat the VIEW line after item lines");
        }
    }
    if (view < 0) return;  // reported at the VIEW line
    if (Is(key, "VISIBLE")) {
        if (!Is(value, "TRUE") && !Is(value, "FALSE"))
            Warning(
                line, Kind::BadValue,
                "VISIBLE " + Q(value) + " is not TRUE: the item is hidden in " + kViewNames[view]);
        return;
    }
    int v[2] = {0, 0};
    if (CIniFile::ScanInts(value, v, 2) < 2) {
        Error(line, Kind::BadPlacement,
              k + " needs two numbers with a comma between, e.g. 10,20; " + Q(value) + " leaves " +
                  (Is(key, "SIZE") ? "the size" : "the place") + " in " + kViewNames[view] +
                  " wrong");
        return;
    }
    if (Is(key, "SIZE")) s.sizeLine[view] = line;
}

void Linter::SizedBy(const Section& s, int line, const std::string& what, int firstView,
                     int lastView) {
    int earliest = 0;
    for (int v = firstView; v <= lastView; ++v)
        if (s.sizeLine[v] != 0 && (earliest == 0 || s.sizeLine[v] < earliest))
            earliest = s.sizeLine[v];
    if (earliest != 0)
        Warning(line, Kind::BadValue,
                what + " gives the item its picture's size: the SIZE on " + Line(earliest) +
                    " is overwritten; put SIZE after it");
}

void Linter::ReadSection(Section& s) {
    CStringArray t;
    Anime anime[2];
    bool icon = false;
    bool kind = false;
    int slotNo = -1;
    int slotLine = 0;
    CString slotValue;
    int weekdays = 0;
    bool weekFont = false;
    bool surface = false;
    bool backgroundPicture = false;
    bool linePoint = false;
    if (s.kind == SectionKind::Calendar && m_calendarLine == 0) m_calendarLine = s.line;
    if (s.kind == SectionKind::Balloon && m_calendarLine == 0)
        m_balloonsBeforeCalendar.push_back(s.line);
    if (s.kind == SectionKind::Slot) m_slotLines.push_back(s.line);
    // The screen keeps one of these: a later section replaces the earlier item.
    if (s.kind != SectionKind::Bg && s.kind != SectionKind::Device && s.kind != SectionKind::Slot &&
        s.kind != SectionKind::Scroll) {
        int& first = m_firstLine[static_cast<int>(s.kind)];
        if (first != 0)
            Warning(s.line, Kind::Repeated,
                    "a second " + ToUtf8(s.keyword) + " replaces the one on " + Line(first));
        else
            first = s.line;
    }

    while (NextItemLine(s, &t)) {
        const int line = m_ini.GetLineNo();
        const CString& key = t[0];
        bool known = true;
        switch (s.kind) {
            case SectionKind::Bg:
                known = Is(key, "BMP");
                if (known) {
                    backgroundPicture = true;
                    CDibPicture picture;
                    const std::string path = m_dir + static_cast<const char*>(t[1]);
                    if (!picture.Load(CString(path)))
                        Error(line, Kind::Picture,
                              "BMP " + Q(t[1]) + ": " + CDibPicture::LastLoadError());
                    if (s.line == m_bgLine) m_report.background = path;
                }
                break;
            case SectionKind::Calendar:
                if (Is(key, "BMPWEEK")) {
                    weekFont = true;
                    Font(line, t[1]);
                } else if (Is(key, "BMPTEXT")) {
                    ++weekdays;
                    Picture(line, "BMPTEXT", t[1]);
                } else {
                    known = false;
                }
                break;
            case SectionKind::Balloon:
                if (Is(key, "FRAME")) {
                    const bool side = Is(t[1], "L") || Is(t[1], "R");
                    const bool layer = Is(t[2], "SURFACE") || Is(t[2], "SHADOW");
                    if (!side || !layer) {
                        Warning(line, Kind::BadValue,
                                "FRAME needs L or R, then SURFACE or SHADOW, then a file: "
                                "the line is ignored");
                    } else if (Picture(line, "FRAME", t[3]) && Is(t[1], "L") &&
                               Is(t[2], "SURFACE")) {
                        surface = true;
                    }
                } else if (Is(key, "ICON")) {
                    bool named = false;
                    for (const char* n : kBalloonIcons) named = named || t[1] == n;
                    if (named)
                        Picture(line, "ICON", t[2]);
                    else
                        Warning(line, Kind::BadValue,
                                "ICON " + Q(t[1]) +
                                    " is no program kind (CDDVD, MD, FM, NKX or FMMD): the line "
                                    "is ignored");
                } else {
                    known = false;
                }
                break;
            case SectionKind::Device:
                known = DeviceKey(s, t, line, anime);
                break;
            case SectionKind::Top:
                known = Is(key, "LINEPOINT");
                if (known) {
                    linePoint = true;
                    Picture(line, "LINEPOINT", t[1]);
                }
                break;
            case SectionKind::DragFrame:
                known = false;
                break;
            default:  // the buttons
                if (s.kind == SectionKind::Scroll && Is(key, "KIND")) {
                    kind = true;
                    if (!Is(t[1], "UP") && !Is(t[1], "DOWN"))
                        Error(line, Kind::BadValue,
                              "KIND " + Q(t[1]) +
                                  " is neither UP nor DOWN: the button scrolls "
                                  "nowhere and is drawn gray");
                } else if (s.kind == SectionKind::Scroll && Is(key, "ONPERIODICDRAGTIME")) {
                    Number(line, "ONPERIODICDRAGTIME", t[1], false);
                } else if (s.kind == SectionKind::Slot && Is(key, "SLOTNO")) {
                    slotNo = -1;
                    CIniFile::ScanInts(t[1], &slotNo, 1);
                    slotLine = line;
                    slotValue = t[1];
                } else {
                    known = ButtonKey(s, t, line, anime[0], icon);
                }
                break;
        }
        if (!known)
            Warning(line, Kind::UnknownKey,
                    ToUtf8(key) + " is no key of " + ToUtf8(s.keyword) + ": the line is ignored");
    }
    const int at = s.line;
    switch (s.kind) {
        case SectionKind::Bg:
            if (!backgroundPicture && s.line == m_bgLine)
                Warning(at, Kind::Missing, "BG without BMP: the background has no picture");
            break;
        case SectionKind::Calendar:
            if (weekdays != 7)
                Error(at, Kind::WeekdayCount,
                      "CALENDAR has " + std::to_string(weekdays) +
                          " BMPTEXT lines; seven are expected, Sunday first");
            if (!weekFont)
                Warning(at, Kind::Missing,
                        "CALENDAR without BMPWEEK: the hour numbers and dates are not drawn");
            break;
        case SectionKind::Balloon:
            if (!surface)
                Error(at, Kind::Missing,
                      "CALENDARBALLOONHELP without a FRAME L SURFACE picture that loads: the "
                      "balloon has no size");
            break;
        case SectionKind::Top:
            if (!linePoint)
                Warning(at, Kind::Missing, "TOP without LINEPOINT: the lines have no dots to show");
            break;
        case SectionKind::Device: {
            const int nameAt = s.nameLine != 0 ? s.nameLine : at;
            bool known = false;
            for (const char* n : kDeviceNames) known = known || Is(s.name, n);
            if (!known)
                Warning(nameAt, Kind::DeviceName,
                        "device name " + Q(s.name) +
                            " is none of CD/DVD, MD, FM TUNER, NKX, SOUND CHIP, SPEAKER, OPT IN, "
                            "OPT OUT: it draws no icon and the host's device operations never "
                            "reach it");
            for (const auto& [name, line] : m_devices) {
                if (name != s.name) continue;
                Warning(nameAt, Kind::DeviceName,
                        "a second device named " + Q(s.name) + " (the first is on " + Line(line) +
                            "): the host's device operations reach only the first");
                break;
            }
            m_devices.push_back({s.name, at});
            break;
        }
        default:
            break;
    }
    if (!IsButton(s.kind)) return;
    if (!icon)
        Warning(at, Kind::Missing, ToUtf8(s.keyword) + " without ICON: the button draws nothing");
    if ((s.kind == SectionKind::Scroll || s.kind == SectionKind::Trash) && anime[0].lines == 0)
        Warning(
            at, Kind::Missing,
            ToUtf8(s.keyword) + " without ICONANIME: it shows nothing while the mouse is over it");
    if (s.kind == SectionKind::Scroll && !kind)
        Error(at, Kind::Missing,
              "CALENDARSCROLLBUTTON without KIND UP or DOWN: it scrolls nowhere and is drawn "
              "gray");
    if (s.kind == SectionKind::Slot) {
        const int numberAt = slotLine != 0 ? slotLine : at;
        if (slotLine == 0) {
            Error(at, Kind::SlotNumber, "SLOTBUTTON without SLOTNO: it stands for no slot");
        } else if (slotNo < 1 || slotNo > 8) {
            Error(numberAt, Kind::SlotNumber,
                  "SLOTNO " + Q(slotValue) + " is outside the slots 1 to 8");
        } else {
            for (const auto& [number, line] : m_slotNumbers) {
                if (number != slotNo) continue;
                Error(numberAt, Kind::SlotNumber,
                      "slot " + std::to_string(slotNo) + " has a button already (on " + Line(line) +
                          ")");
                break;
            }
            m_slotNumbers.push_back({slotNo, numberAt});
        }
    }
}

bool Linter::ButtonKey(Section& s, const CStringArray& t, int line, Anime& anime, bool& icon) {
    const CString& key = t[0];
    const bool animated = s.kind == SectionKind::Scroll || s.kind == SectionKind::Trash;
    if (Is(key, "ICON")) {
        icon = true;
        if (Picture(line, "ICON", t[1])) SizedBy(s, line, "ICON", 0, 2);
    } else if (animated && Is(key, "ICONANIME")) {
        Frame(line, "ICONANIME", t[1], anime);
    } else if (animated && Is(key, "ANIMEORDER")) {
        Order(line, "ANIMEORDER", t[1], anime);
    } else if (animated && Is(key, "ANIMESPEED")) {
        Number(line, "ANIMESPEED", t[1], true);
    } else {
        return false;
    }
    return true;
}

bool Linter::DeviceKey(Section& s, const CStringArray& t, int line, Anime* sets) {
    const CString& first = t[0];
    if (Is(first, "L") || Is(first, "S")) {
        Anime& anime = sets[Is(first, "L") ? 0 : 1];
        const CString& key = t[1];
        const std::string what = ToUtf8(first) + " " + ToUtf8(key);
        if (Is(key, "ICON") || Is(key, "MUTEICON") || Is(key, "DEVICENAME") || Is(key, "STATE")) {
            Picture(line, what, t[2]);
        } else if (Is(key, "ICONANIME")) {
            if (Frame(line, what, t[2], anime) && anime.animation->GetFrameCount() == 1) {
                if (Is(first, "L"))
                    SizedBy(s, line, what, 0, 0);
                else
                    SizedBy(s, line, what, 1, 2);
            }
        } else if (Is(key, "ANIMEORDER")) {
            Order(line, what, t[2], anime);
        } else if (Is(key, "ANIMESPEED")) {
            Number(line, what, t[2], true);
        } else {
            Warning(line, Kind::UnknownKey,
                    what + " is no key of a device's picture set: the line is ignored");
        }
        return true;
    }
    if (Is(first, "TOOLHINT")) {
        const std::string spec = static_cast<const char*>(t[1]);
        std::size_t pos = 0;
        while (pos <= spec.size()) {
            std::size_t end = spec.find(',', pos);
            if (end == std::string::npos) end = spec.size();
            const std::string item = spec.substr(pos, end - pos);
            pos = end + 1;
            const std::size_t colon = item.find(':');
            const CString view = item.substr(0, colon);
            int state = 0;
            const bool ok = colon != std::string::npos &&
                            (Is(view, "ALL") || Is(view, "A") || Is(view, "L") || Is(view, "T")) &&
                            CIniFile::ScanInts(item.c_str() + colon + 1, &state, 1) == 1;
            if (!ok)
                Warning(line, Kind::BadValue,
                        "TOOLHINT item " + Q(CString(item)) +
                            " matches nothing: write a view (ALL, A, L or T), a colon and a "
                            "state");
        }
        HintFormat(line, "TOOLHINT", t[2], 1);
        return true;
    }
    if (Is(first, "DRAG")) {
        m_dragTargets.push_back({t[1], line});
        return true;
    }
    return false;
}

bool Linter::Picture(int line, const std::string& what, const CString& file) {
    if (file.IsEmpty()) {
        Error(line, Kind::Picture, what + " without a file name");
        return false;
    }
    CMaskPicture picture;
    if (picture.Load(CString(m_dir) + file)) return true;
    Error(line, Kind::Picture, what + " " + Q(file) + ": " + CMaskPicture::LastLoadError());
    return false;
}

bool Linter::Frame(int line, const std::string& what, const CString& file, Anime& anime) {
    ++anime.lines;
    if (file.IsEmpty()) {
        Error(line, Kind::Picture, what + " without a file name");
        return false;
    }
    if (anime.animation->AddFrame(CString(m_dir) + file)) return true;
    Error(line, Kind::Picture, what + " " + Q(file) + ": " + CMaskPicture::LastLoadError());
    return false;
}

void Linter::Order(int line, const std::string& what, const CString& value, Anime& anime) {
    if (anime.animation->SetOrder(value)) {
        if (anime.animation->GetOrder().GetSize() == 0)
            Warning(line, Kind::BadValue, what + " gives no frame: the animation shows nothing");
        return;
    }
    Error(line, Kind::BadValue,
          what + " " + Q(value) + " names frames the ICONANIME lines above it do not give (" +
              std::to_string(anime.animation->GetFrameCount()) + " loaded): the order is ignored");
}

void Linter::Number(int line, const std::string& what, const CString& value, bool positive) {
    int v = 0;
    if (CIniFile::ScanInts(value, &v, 1) != 1) {
        Error(line, Kind::BadValue,
              what + " " + Q(value) + " is no number of milliseconds: it becomes -1");
    } else if (positive && v < 1) {
        Warning(line, Kind::BadValue, what + " below 1: the animation never runs");
    }
}

// The calendar draws only the digits and the slash.
void Linter::Font(int line, const CString& prefix) {
    static const char kCodes[] = "0123456789/";
    std::vector<std::pair<CString, std::string>> failed;
    for (const char* c = kCodes; *c != '\0'; ++c) {
        CMaskPicture glyph;
        const BYTE code = static_cast<BYTE>(*c);
        if (!glyph.Load(CBitmapFont::GlyphFile(CString(m_dir) + prefix, code)))
            failed.push_back({CBitmapFont::GlyphFile(prefix, code), CMaskPicture::LastLoadError()});
    }
    if (failed.size() == std::strlen(kCodes)) {
        Error(line, Kind::Picture,
              "BMPWEEK " + Q(prefix) + ": no glyph loads (" + Q(failed[0].first) + ": " +
                  failed[0].second + "): the hour numbers and dates are not drawn");
        return;
    }
    for (const auto& [file, why] : failed)
        Error(line, Kind::Picture,
              "BMPWEEK glyph " + Q(file) + ": " + why + ": the character is drawn as a square");
}

void Linter::Sound(int line, const CString& event, const CString& file) {
    const std::string what = "SE " + ToUtf8(event);
    if (file.IsEmpty()) {
        Error(line, Kind::Sound, what + " without a file name: nothing is heard");
        return;
    }
    const std::string path = static_cast<const char*>(file);
    if (!IsPlainFile(path)) {
        Error(line, Kind::Sound,
              what + " " + Q(file) + " does not exist" +
                  (path[0] != '/' ? " (sound files are opened as written, from the host's "
                                    "working folder, not from the picture folder)"
                                  : ""));
        return;
    }
    // The player's own reader: what it refuses is silent on screen.
    platform::WavSound sound;
    std::string why;
    if (!platform::ReadWavFile(path.c_str(), &sound, &why))
        Error(line, Kind::Sound, what + " " + Q(file) + " is not played: " + why);
}

// A tool hint text is a format: the slot number, the kind name or the device
// text in turn.
void Linter::HintFormat(int line, const std::string& what, const CString& text,
                        std::size_t values) {
    const std::string problem = HintFormatProblem(text, values);
    if (!problem.empty()) Warning(line, Kind::BadValue, what + " " + Q(text) + ": " + problem);
}

void Linter::OneLineStatement(const CStringArray& t, int line) {
    const CString& key = t[0];
    const CString& what = t[1];
    if (Is(key, "SE")) {
        if (Is(what, "DEVICEMOUSEOVER") || Is(what, "DEVICECLICK") || Is(what, "DEVICEDRAGDROP"))
            Sound(line, what, t[2]);
        else
            Warning(line, Kind::BadValue,
                    "SE " + Q(what) +
                        " is no event (DEVICEMOUSEOVER, DEVICECLICK or DEVICEDRAGDROP): the line "
                        "is ignored");
    } else if (Is(key, "SLOTBUTTON_ALL")) {
        if (Is(what, "TOOLHINT")) {
            m_slotHints.push_back({line, static_cast<int>(m_slotLines.size())});
            HintFormat(line, "SLOTBUTTON_ALL free slot's text", t[2], 1);
            HintFormat(line, "SLOTBUTTON_ALL used slot's text", t[3], 2);
        } else
            Warning(line, Kind::BadValue,
                    "SLOTBUTTON_ALL " + Q(what) + " is not TOOLHINT: the line is ignored");
    } else if (Is(key, "COLOR")) {
        if (!Is(what, "NORMAL") && !Is(what, "SELECT") && !Is(what, "GRAY")) {
            Warning(line, Kind::BadValue,
                    "COLOR " + Q(what) +
                        " is no colour (NORMAL, SELECT or GRAY): the line is "
                        "ignored");
            return;
        }
        int rgb[3];
        if (CIniFile::ScanInts(t[2], rgb, 3) < 3)
            Error(line, Kind::BadValue,
                  "COLOR " + ToUtf8(what) + " " + Q(t[2]) +
                      " is not red,green,blue: the components missing become 255");
    } else if (Is(key, "PROGRAMMARGIN")) {
        m_margin = true;
        int margin = 0;
        if (CIniFile::ScanInts(what, &margin, 1) != 1)
            Error(line, Kind::BadValue,
                  "PROGRAMMARGIN " + Q(what) + " is no number: the margin becomes -1");
    } else if (Is(key, "END")) {
        Warning(line, Kind::UnknownStatement, "END outside a section: the line is ignored");
    } else {
        Warning(line, Kind::UnknownStatement,
                ToUtf8(key) + " is no section or statement: the line is ignored");
    }
}

void Linter::Finish(int lastLine) {
    if (m_bgLine == 0)
        Error(lastLine, Kind::NoBg, "no BG section: the screen makes no window and no item");
    if (!m_margin)
        Error(lastLine, Kind::NoMargin,
              "no PROGRAMMARGIN line: the program margin has no value (write e.g. "
              "PROGRAMMARGIN<TAB>180)");
    for (int line : m_balloonsBeforeCalendar) {
        if (m_calendarLine == 0) break;
        Error(line, Kind::BalloonOrder,
              "CALENDARBALLOONHELP before CALENDAR (" + Line(m_calendarLine) +
                  "): the balloon is drawn under the calendar; move it after");
    }
    for (const auto& [line, before] : m_slotHints) {
        if (before == 0)
            Error(line, Kind::SlotHints,
                  "SLOTBUTTON_ALL before any SLOTBUTTON: no slot button gets these tool hints; "
                  "move it after the slot buttons");
    }
    if (!m_slotHints.empty() && m_slotHints.back().second > 0) {
        const int hints = m_slotHints.back().first;
        for (int line : m_slotLines) {
            if (line > hints)
                Error(line, Kind::SlotHints,
                      "SLOTBUTTON after SLOTBUTTON_ALL (" + Line(hints) +
                          ") gets no tool hints; move SLOTBUTTON_ALL after it");
        }
    }
    for (const auto& [target, line] : m_dragTargets) {
        bool found = false;
        for (const auto& device : m_devices) found = found || device.first == target;
        if (!found)
            Warning(line, Kind::BadValue, "DRAG onto " + Q(target) + ": no device has that name");
    }
}

}  // namespace

Report LintDescription(const std::string& iniPath, const std::string& pictureDir) {
    return Linter(pictureDir).Run(iniPath);
}

std::string FormatFinding(const std::string& file, const Finding& finding) {
    std::string out = file + ":";
    if (finding.line > 0) out += std::to_string(finding.line) + ":";
    out += finding.severity == Severity::Error ? " error: " : " warning: ";
    return out + finding.message;
}

}  // namespace lint
}  // namespace quillon
