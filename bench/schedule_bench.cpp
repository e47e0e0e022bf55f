// The reservation rules and the period query, against the cost of one
// local-time conversion (the step they repeat most).
#include <benchmark/benchmark.h>

#include <quillon/quillon.h>
#include <quillon/testing.h>

namespace {

CQProg Make(int slot, int kind, int weekly, CTime begin, CTime end) {
    CQProg p;
    p.SetSlotNo(slot);
    p.SetKind(kind);
    if (weekly != 0) p.SetWeekly(weekly);
    p.SetTime(begin, end);
    return p;
}

// Eight programs, single and weekly mixed, none clashing.
CArray<CQProg, CQProg> FullTable() {
    CArray<CQProg, CQProg> t;
    t.Add(Make(1, 0, 0, CTime(2025, 1, 7, 7, 0, 0), CTime(2025, 1, 7, 7, 30, 0)));
    t.Add(Make(2, 2, 0x3E, CTime(2025, 1, 6, 12, 0, 0), CTime(2025, 1, 6, 12, 55, 0)));
    t.Add(Make(3, 4, 0, CTime(2025, 1, 8, 21, 0, 0), CTime(2025, 1, 8, 22, 30, 0)));
    t.Add(Make(4, 3, 0x41, CTime(2025, 1, 6, 6, 30, 0), CTime(2025, 1, 6, 6, 45, 0)));
    t.Add(Make(5, 1, 0, CTime(2025, 1, 9, 23, 30, 0), CTime(2025, 1, 10, 0, 30, 0)));
    t.Add(Make(6, 0, 0x7F, CTime(2025, 1, 6, 5, 0, 0), CTime(2025, 1, 6, 5, 30, 0)));
    t.Add(Make(7, 2, 0x14, CTime(2025, 1, 6, 18, 0, 0), CTime(2025, 1, 6, 19, 0, 0)));
    t.Add(Make(8, 1, 0, CTime(2025, 1, 11, 15, 0, 0), CTime(2025, 1, 11, 16, 0, 0)));
    return t;
}

void Schedule_BaselineLocalTime(benchmark::State& state) {
    quillon::testing::Harness h;
    int day = 0;
    for (auto _ : state) {
        // Days far apart: each one a real conversion, not a remembered one.
        CTime t(2025, 1, 1 + (day++ % 4096), 10, 0, 0);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(Schedule_BaselineLocalTime);

void Schedule_ChkCQProgSetFullTable(benchmark::State& state) {
    quillon::testing::Harness h;
    CString ini("/nonexistent/TARVIK.INI");
    CQMainScreen screen("Bench", nullptr, CRect(0, 0, 800, 600), &ini, nullptr);
    CArray<CQProg, CQProg> table = FullTable();
    for (const CQProg& p : table) screen.SetProgram(p);
    // A weekly candidate for a ninth place is compared with all eight.
    CQProg probe = Make(9, 0, 0x22, CTime(2025, 1, 6, 14, 0, 0), CTime(2025, 1, 6, 15, 0, 0));
    for (auto _ : state) benchmark::DoNotOptimize(screen.ChkCQProgSet(probe));
}
BENCHMARK(Schedule_ChkCQProgSetFullTable);

void Schedule_GetInPeriodLogOneYear(benchmark::State& state) {
    quillon::testing::Harness h;
    CArray<CQProg, CQProg> table = FullTable();
    CTimeRect year(CTime(2025, 1, 1, 0, 0, 0), CTime(2026, 1, 1, 0, 0, 0));
    CArray<CQProgLog, CQProgLog> out;
    for (auto _ : state) {
        CQMainScreen::GetInPeriodLog(&table, year, &out);
        benchmark::DoNotOptimize(out.GetSize());
    }
    state.counters["entries"] = out.GetSize();
}
BENCHMARK(Schedule_GetInPeriodLogOneYear)->Unit(benchmark::kMicrosecond);

}  // namespace
