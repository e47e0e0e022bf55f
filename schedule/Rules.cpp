#include "schedule/Rules.h"

#include <algorithm>
#include <cstdint>

#include <quillon/platform/Arrays.h>

#include "schedule/LocalDays.h"
#include "schedule/ProgInPeriod.h"

int ChkProgTime(CQProg prog) {
    if (!prog.IsSinglePlan()) return 0;
    // One reading of the clock for the whole check: a second ticking over
    // between two readings must not let the limits disagree.
    const CTime now = CTime::GetCurrentTime();
    CTime begin = prog.GetBeginTime();
    if (begin < now) return -1;
    int year = std::min(now.GetYear() + 2, 2038);
    if (begin >= CTime(year, 1, 1, 0, 0, 0)) return -2;
    if (begin < now + CTimeSpan(180)) return -3;
    if (begin < now + CTimeSpan(300)) return 1;
    return 0;
}

namespace {

bool AnyOverlap(const CArray<CTimeRect, CTimeRect>& a, const CArray<CTimeRect, CTimeRect>& b) {
    for (const CTimeRect& x : a) {
        for (const CTimeRect& y : b) {
            CTimeRect hit;
            if (hit.GetOverlap(x, y)) return true;
        }
    }
    return false;
}

void Inflate(CArray<CTimeRect, CTimeRect>* list, CTimeSpan by) {
    for (CTimeRect& r : *list) r.InflateRect(by);
}

}  // namespace

int ChkOverlapProgPair(CQProg a, CQProg b, int margin) {
    CArray<CTimeRect, CTimeRect> listA;
    CArray<CTimeRect, CTimeRect> listB;
    if (a.IsSinglePlan() && b.IsSinglePlan()) {
        listA.Add(a.GetTime());
        listB.Add(b.GetTime());
    } else if (a.IsSinglePlan() != b.IsSinglePlan()) {
        const CQProg& single = a.IsSinglePlan() ? a : b;
        const CQProg& weekly = a.IsSinglePlan() ? b : a;
        CTimeRect s = single.GetTime();
        listA.Add(s);
        CTime from = AddLocalDays(s.GetBegin(), -1);
        CTime to = AddLocalDays(s.GetEnd(), 1);
        // A day that 32 bits cannot hold comes back as -1: reach to the limit
        // instead, or a program on the last representable day meets nothing.
        if (!(from < s.GetBegin())) from = CTime(INT32_MIN);
        if (!(to > s.GetEnd())) to = CTime(INT32_MAX);
        GetProgInPeriod(weekly, CTimeRect(from, to), &listB);
    } else {
        // Both weekly: compare them over the week that begins on the reference
        // Friday both are placed on, and a day more on each side, so that runs
        // meeting across the week's edge (Thursday night, Friday morning) are
        // held to the margin like any others.
        CTime ref(1971, 1, 1, 0, 0, 0);
        CTimeRect week(AddLocalDays(ref, -1), AddLocalDays(ref, 8));
        GetProgInPeriod(a, week, &listA);
        GetProgInPeriod(b, week, &listB);
    }

    if (AnyOverlap(listA, listB)) return -1;
    // Half the margin on each side, rounded up, so that the gap is the margin.
    const int half = margin / 2 + margin % 2;
    Inflate(&listA, CTimeSpan(half));
    Inflate(&listB, CTimeSpan(half));
    if (AnyOverlap(listA, listB)) return -2;
    return 0;
}
