// quillon-demo: a small host that shows what the library does so far. It
// books a week of reservations, lists them and their runs, and lets the
// reservation rules refuse a few bad ones.
#include <quillon/quillon.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string U(const CString& s) {
    return ToUtf8(s);
}

CTime At(CTime day, int daysLater, int hour, int minute) {
    return CTime(day.GetYear(), day.GetMonth(), day.GetDay() + daysLater, hour, minute, 0);
}

CQProg Single(int slot, int kind, CTime begin, CTime end) {
    CQProg p;
    p.SetSlotNo(slot);
    p.SetKind(kind);
    p.SetTime(begin, end);
    return p;
}

CQProg Weekly(int slot, int kind, int days, CTime begin, CTime end) {
    CQProg p;
    p.SetSlotNo(slot);
    p.SetKind(kind);
    p.SetWeekly(days);
    p.SetTime(begin, end);
    return p;
}

const char* RuleText(int code) {
    switch (code) {
        case 1:
            return "fine (starts within five minutes)";
        case 0:
            return "fine";
        case -2:
            return "過去への設定は出来ません";
        case -3:
            return "too far ahead";
        case -4:
            return "開始まで３分以上の間が必要です";
        case -5:
            return "連続した予約との間には３分間の空きが必要です";
        case -6:
            return "他の予約がすでに設定されています";
        default:
            return "?";
    }
}

// The screen reads its description file; this one only sets the margin.
std::string WriteDescription() {
    char dir[] = "/tmp/quillon-demo-XXXXXX";
    if (mkdtemp(dir) == nullptr) return std::string();
    std::string path = std::string(dir) + "/TARVIK.INI";
    if (std::FILE* f = std::fopen(path.c_str(), "w")) {
        std::fputs("// demo screen\nPROGRAMMARGIN\t180\n", f);
        std::fclose(f);
    }
    return path;
}

}  // namespace

int main() {
    std::string iniPath = WriteDescription();
    CString ini(iniPath.c_str());
    CQMainScreen screen("QuillonDemo", nullptr, CRect(0, 0, 800, 600), &ini, nullptr);

    CTime now = CTime::GetCurrentTime();
    std::printf("Quillon demo: the schedule model\nNow: %s\n\n",
                U(now.Format("%Y/%m/%d (%a) %H:%M")).c_str());

    std::vector<CQProg> week = {
        Single(1, 0, At(now, 1, 7, 0), At(now, 1, 7, 30)),
        Weekly(2, 2, 0x3E, At(now, 0, 12, 0), At(now, 0, 12, 55)),
        Single(3, 4, At(now, 2, 21, 0), At(now, 2, 22, 30)),
        Weekly(4, 3, 0x41, At(now, 0, 6, 30), At(now, 0, 6, 45)),
        Single(5, 1, At(now, 3, 23, 30), At(now, 3, 0, 30)),
    };
    week[3].m_bNKXMail = true;
    for (const CQProg& p : week) {
        if (!screen.SetProgram(p)) std::printf("refused: slot %d\n", p.GetSlotNo());
    }

    std::printf("Reservations:\n");
    CArray<CQProg, CQProg> table;
    for (int slot = 1; slot <= 8; ++slot) {
        CQProg p;
        if (!screen.GetProgram(slot, &p)) continue;
        CString kind;
        p.GetKind(&kind);
        std::printf("  slot %d  %-22s %-14s %s%s\n", slot, U(p.GetStrPattern()).c_str(),
                    U(p.GetStrTime()).c_str(), U(kind).c_str(), p.IsNKXMail() ? " (NKX mail)" : "");
        table.Add(p);
    }

    CTimeRect days(CTimeRect::GetYMD(now), At(now, 7, 0, 0));
    CArray<CQProgLog, CQProgLog> runs;
    CQMainScreen::GetInPeriodLog(&table, days, &runs);
    std::vector<CQProgLog> sorted(runs.begin(), runs.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const CQProgLog& a, const CQProgLog& b) {
        return GetLogTimeRect(a).GetBegin() < GetLogTimeRect(b).GetBegin();
    });
    std::printf("\nRuns in the next seven days (%zu):\n", sorted.size());
    for (const CQProgLog& log : sorted) {
        CString kind;
        log.GetKind(&kind);
        std::printf("  %s  %s  slot %d  %s\n",
                    U(GetLogTimeRect(log).GetBegin().Format("%m/%d (%a)")).c_str(),
                    U(log.GetLogStrTime()).c_str(), log.GetSlotNo(), U(kind).c_str());
    }

    std::printf("\nThe rules at work:\n");
    struct Trial {
        const char* what;
        CQProg prog;
    };
    std::vector<Trial> trials = {
        {"yesterday 10:00", Single(6, 0, At(now, -1, 10, 0), At(now, -1, 11, 0))},
        {"in two minutes", Single(6, 0, now + CTimeSpan(120), now + CTimeSpan(1800))},
        {"over slot 3", Single(6, 1, At(now, 2, 22, 0), At(now, 2, 23, 0))},
        {"one minute after slot 3", Single(6, 1, At(now, 2, 22, 31), At(now, 2, 23, 0))},
        {"three minutes after slot 3", Single(6, 1, At(now, 2, 22, 33), At(now, 2, 23, 0))},
    };
    for (const Trial& t : trials) {
        int code = screen.ChkCQProgSet(t.prog);
        std::printf("  %-28s %s %s  -> %2d  %s\n", t.what, U(t.prog.GetStrPattern()).c_str(),
                    U(t.prog.GetStrTime()).c_str(), code, RuleText(code));
    }

    std::remove(iniPath.c_str());
    rmdir(iniPath.substr(0, iniPath.rfind('/')).c_str());
    return 0;
}
