#include "DemoHost.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace demo {
namespace {

constexpr const char* kHeader = "quillon-demo 1";
constexpr std::size_t kMaxLogs = 300;  // the oldest go first

void MakeDirs(const std::string& dir) {
    for (std::size_t at = 1; at <= dir.size(); ++at)
        if (at == dir.size() || dir[at] == '/') mkdir(dir.substr(0, at).c_str(), 0755);
}

std::string Line(const CQProg& p) {
    std::ostringstream s;
    // A single reservation keeps its day of the month where the weekdays
    // would be: 0 says single.
    s << p.GetSlotNo() << ' ' << p.GetKind() << ' ' << (p.IsSinglePlan() ? 0 : p.GetWeekly()) << ' '
      << (p.IsNKXMail() ? 1 : 0) << ' ' << p.GetBeginTime().GetTime() << ' '
      << p.GetEndTime().GetTime();
    return s.str();
}

bool ParseProg(std::istringstream& in, CQProg* p) {
    int slot = 0, kind = 0, weekly = 0, nkx = 0;
    long long begin = 0, end = 0;
    if (!(in >> slot >> kind >> weekly >> nkx >> begin >> end)) return false;
    p->SetSlotNo(slot);
    if (!p->SetKind(kind)) return false;
    p->SetWeekly(weekly);
    p->m_bNKXMail = nkx != 0;
    p->SetTime(CTime(static_cast<std::int32_t>(begin)), CTime(static_cast<std::int32_t>(end)));
    return p->IsProper();
}

const char* RuleText(int code) {
    switch (code) {
        case -2:
            return "過去への予約は出来ません";
        case -3:
            return "そんなに先の予約は出来ません";
        case -4:
            return "開始まで３分以上の間が必要です";
        case -5:
            return "他の予約との間には間隔が必要です";
        case -6:
            return "他の予約と重なっています";
        default:
            return "この予約は出来ません";
    }
}

std::string Stamp(CTime t) {
    return ToUtf8(t.Format("%Y-%m-%d %H:%M"));
}

}  // namespace

std::string DefaultDataDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') return std::string(xdg) + "/quillon-demo";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/quillon-demo";
}

int KindOfDevice(const CString& name) {
    if (name == "CD/DVD") return 0;
    if (name == "MD") return 1;
    if (name == "FM TUNER") return 2;
    if (name == "NKX") return 3;
    return -1;
}

bool Store::Load(std::vector<CQProg>* progs, std::vector<CQProgLog>* logs, std::string* why) {
    progs->clear();
    logs->clear();
    std::ifstream in(m_path);
    if (!in) {
        if (errno == ENOENT) return true;  // nothing kept yet
    }
    std::string line;
    bool ok = in && std::getline(in, line) && line == kHeader;
    int number = 1;
    while (ok && std::getline(in, line)) {
        ++number;
        if (line.empty()) continue;
        std::istringstream s(line.substr(1));
        if (line[0] == 'P') {
            CQProg p;
            ok = ParseProg(s, &p);
            if (ok) progs->push_back(p);
        } else if (line[0] == 'L') {
            CQProgLog log;
            int state = 0;
            long long b = 0, e = 0;
            ok = ParseProg(s, &log) && (s >> state >> b >> e) && b <= e;
            log.m_nLogState = state;
            log.SetLogTime(CTimeRect(CTime(static_cast<std::int32_t>(b)),
                                     CTime(static_cast<std::int32_t>(e))));
            if (ok) logs->push_back(log);
        } else {
            ok = false;
        }
    }
    if (ok) return true;
    // Never overwritten: kept aside for the user to look at.
    std::string aside = m_path + ".bad-" + std::to_string(CTime::GetCurrentTime().GetTime());
    std::rename(m_path.c_str(), aside.c_str());
    *why = m_path + " could not be read (line " + std::to_string(number) + "); it was kept as " +
           aside;
    progs->clear();
    logs->clear();
    return false;
}

bool Store::Save(const std::vector<CQProg>& progs, const std::vector<CQProgLog>& logs,
                 std::string* why) const {
    MakeDirs(m_path.substr(0, m_path.rfind('/')));
    std::string temp = m_path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "w");
    if (!f) {
        *why = temp + ": " + std::strerror(errno);
        return false;
    }
    std::string all = std::string(kHeader) + "\n";
    for (const CQProg& p : progs) all += "P " + Line(p) + "\n";
    for (const CQProgLog& l : logs) {
        CTime b, e;
        l.GetLogTime(&b, &e);
        all += "L " + Line(l) + " " + std::to_string(l.GetLogState()) + " " +
               std::to_string(b.GetTime()) + " " + std::to_string(e.GetTime()) + "\n";
    }
    bool ok = std::fwrite(all.data(), 1, all.size(), f) == all.size();
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), m_path.c_str()) != 0) {
        *why = m_path + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

DemoScreen::DemoScreen(CWnd* parent, CRect rect, CString ini, CString pictures, Store* store)
    : CQMainScreen("QuillonDemo", parent, rect, &ini, &pictures), m_store(store) {
    m_lastTick = CTime::GetCurrentTime();
    SetStateCDDVD(1);
    SetStateMD(1);
    SetStateFM(0);
    SetStateNKX(1, Sjis("新着 2"));
    SetStateSOUND(1);
    SetStateSpeaker(2);
    SetStateConnect("OPT IN", "OPT OUT");
}

bool DemoScreen::LoadStore() {
    std::vector<CQProg> progs;
    std::string why;
    bool ok = m_store->Load(&progs, &m_logs, &why);
    for (const CQProg& p : progs) SetProgram(p);
    for (const CQProgLog& l : m_logs) AddLog(l);
    std::printf("loaded %zu reservations, %zu logs\n", progs.size(), m_logs.size());
    std::fflush(stdout);
    if (!ok) {
        std::printf("set aside: %s\n", why.c_str());
        std::fflush(stdout);
        GetpCWnd()->MessageBox(FromUtf8(why.c_str()), "quillon-demo", MB_OK);
    }
    return ok;
}

std::vector<CQProg> DemoScreen::Programs() {
    std::vector<CQProg> out;
    for (int slot = 1; slot <= 8; ++slot) {
        CQProg p;
        if (GetProgram(slot, &p)) out.push_back(p);
    }
    return out;
}

void DemoScreen::Save() {
    std::string why;
    if (m_logs.size() > kMaxLogs)
        m_logs.erase(m_logs.begin(), m_logs.end() - static_cast<std::ptrdiff_t>(kMaxLogs));
    if (!m_store->Save(Programs(), m_logs, &why))
        std::fprintf(stderr, "quillon-demo: not saved: %s\n", why.c_str());
    m_dirty = false;
}

void DemoScreen::Box(const char* utf8Text, UINT type) {
    GetpCWnd()->MessageBox(FromUtf8(utf8Text), "quillon-demo", type);
}

void DemoScreen::ShowDevicePlaying(const CString& device, bool playing) {
    if (device == "CD/DVD") SetStateCDDVD(playing ? 2 : 1);
    if (device == "MD") SetStateMD(playing ? 2 : 1);
    if (device == "FM TUNER") SetStateFM(playing ? 1 : 0);
    if (device == "NKX") SetStateNKX(1, Sjis(playing ? "受信中" : "新着 2"));
}

int DemoScreen::Reserve(const CString& device, CTime begin, CTime end) {
    int kind = KindOfDevice(device);
    if (kind < 0) {
        Box("この機器は予約できません");
        return 0;
    }
    int slot = GetEmptySlotNo();
    if (slot <= 0) {
        Box("空いているスロットがありません");
        return 0;
    }
    if (!(begin < end)) end = begin + CTimeSpan(30 * 60);
    CQProg p;
    p.SetSlotNo(slot);
    p.SetKind(kind);
    p.SetTime(begin, end);
    int code = ChkCQProgSet(p);
    if (code < 0 || !SetProgram(p)) {
        Box(RuleText(code));
        return 0;
    }
    std::printf("reserved %d %s %s %s\n", slot, device.c_str(), Stamp(begin).c_str(),
                Stamp(end).c_str());
    std::fflush(stdout);
    Save();
    return slot;
}

void DemoScreen::Tick() {
    CTime now = CTime::GetCurrentTime();
    if (m_dubFrom.GetLength() > 0 && !(now < m_dubbingEnds)) {
        SetStateDubbingEnd();
        ShowDevicePlaying(m_dubFrom, false);
        ShowDevicePlaying(m_dubTo, false);
        m_dubFrom = m_dubTo = CString();
    }
    // Occurrences that ended since the last tick become logs; a single
    // reservation that has run is done.
    std::vector<CQProg> progs = Programs();
    CArray<CQProg, CQProg> table;
    for (const CQProg& p : progs) table.Add(p);
    CArray<CQProgLog, CQProgLog> runs;
    GetInPeriodLog(&table, CTimeRect(m_lastTick - CTimeSpan(2 * 86400), now + CTimeSpan(1)), &runs);
    std::vector<std::string> playing;
    for (int i = 0; i < runs.GetSize(); ++i) {
        CQProgLog log = runs[i];
        CTimeRect r = GetLogTimeRect(log);
        CString kindName;
        int kind = log.GetKind(&kindName);
        const char* device = kind == 0   ? "CD/DVD"
                             : kind == 1 ? "MD"
                             : kind == 2 ? "FM TUNER"
                                         : "NKX";
        if (!(now < r.GetBegin()) && now < r.GetEnd()) playing.push_back(device);
        if (m_lastTick < r.GetEnd() && !(now < r.GetEnd())) {
            log.m_nLogState = 0;
            AddLog(log);
            m_logs.push_back(log);
            std::printf("ran %d %s\n", log.GetSlotNo(), Stamp(r.GetBegin()).c_str());
            std::fflush(stdout);
            if (log.IsSinglePlan()) DeleteProgram(log.GetSlotNo());
            m_dirty = true;
        }
    }
    for (const std::string& d : m_playing)
        if (std::find(playing.begin(), playing.end(), d) == playing.end())
            ShowDevicePlaying(d.c_str(), false);
    for (const std::string& d : playing)
        if (std::find(m_playing.begin(), m_playing.end(), d) == m_playing.end())
            ShowDevicePlaying(d.c_str(), true);
    m_playing = playing;
    m_lastTick = now;
    if (m_dirty) Save();
}

void DemoScreen::OnClick(CString name, unsigned int, CPoint) {
    if (name == "SPEAKER") {
        SetStateSpeakerMute(!GetStateSpeakerMute());
        return;
    }
    if (name == "CD/DVD") SetStateCDDVD(GetStateCDDVD() == 2 ? 1 : 2);
    if (name == "MD") SetStateMD(GetStateMD() == 2 ? 1 : 2);
    if (name == "FM TUNER") SetStateFM(GetStateFM() == 1 ? 0 : 1);
    if (name == "SOUND CHIP") SetStateSOUND(GetStateSOUND() == 1 ? 0 : 1);
}

void DemoScreen::OnDropOut(CString name, unsigned int, CPoint, CString dragged) {
    // One device onto another: dubbing for a while (eight seconds here).
    SetStateDubbing(dragged, name);
    ShowDevicePlaying(dragged, true);
    ShowDevicePlaying(name, true);
    m_dubFrom = dragged;
    m_dubTo = name;
    m_dubbingEnds = CTime::GetCurrentTime() + CTimeSpan(8);
    std::printf("dubbing %s %s\n", dragged.c_str(), name.c_str());
    std::fflush(stdout);
}

void DemoScreen::OnCalendar_DropOut(CString name, CTime begin, CTime end) {
    Reserve(name, begin, end);
    CQMainScreen::OnCalendar_DropOut(name, begin, end);
}

void DemoScreen::OnCalendar_ProgLButtonDblClk(CQProg* prog) {
    if (!prog->IsSinglePlan()) {
        GetpCWnd()->MessageBox(prog->GetStr(), "quillon-demo", MB_OK);
        return;
    }
    // A once-only reservation may repeat every week on its weekday, at the
    // same times, if the rules allow it against the others.
    CString question = prog->GetStr() + Sjis("\n\n毎週この曜日にくり返しますか？");
    if (GetpCWnd()->MessageBox(question, "quillon-demo", MB_YESNO) != IDYES) return;
    // The weekly form keeps the times of day; only the date gives way.
    CQProg weekly = *prog;
    weekly.SetWeekly(1 << (prog->GetBeginTime().GetDayOfWeek() - 1));
    const int code = ChkCQProgSet(weekly);
    if (code < 0 || !SetProgram(weekly)) {
        Box(RuleText(code));
        return;
    }
    std::printf("weekly %d %d\n", weekly.GetSlotNo(), weekly.GetWeekly());
    std::fflush(stdout);
    Save();
}

bool DemoScreen::OnCalendar_ProgChange(CQProg*) {
    m_dirty = true;  // saved at the next tick, once the table has it
    return true;
}

bool DemoScreen::OnCalendar_ProgDelete(CQProg* prog) {
    CString text = Sjis("この予約を削除しますか？\n") + prog->GetStr();
    bool yes = GetpCWnd()->MessageBox(text, "quillon-demo", MB_OKCANCEL) == IDOK;
    if (yes) {
        std::printf("deleted %d\n", prog->GetSlotNo());
        std::fflush(stdout);
        m_dirty = true;
    }
    return yes;
}

void DemoScreen::OnNewmake_Click(CString, unsigned int, CPoint) {
    // A reservation of the CD player in ten minutes.
    CTime now = CTime::GetCurrentTime() + CTimeSpan(600);
    CTime at(now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour(), now.GetMinute(), 0);
    Reserve("CD/DVD", at, at);
}

void DemoScreen::OnNewmake_DropOut(CString name) {
    CTime now = CTime::GetCurrentTime() + CTimeSpan(600);
    CTime at(now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour(), now.GetMinute(), 0);
    Reserve(name, at, at);
}

bool DemoScreen::OnChange_DropOut(CString, CQProg* prog) {
    GetpCWnd()->MessageBox(prog->GetStr(), Sjis("予約の内容"), MB_OK);
    return false;
}

void DemoScreen::OnChange_Click(CQProg prog) {
    GetpCWnd()->MessageBox(prog.GetStr(), Sjis("予約の内容"), MB_OK);
}

}  // namespace demo
