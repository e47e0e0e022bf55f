#include "schedule/Rules.h"

#include <algorithm>

#include <quillon/platform/Arrays.h>

#include "schedule/LocalDays.h"
#include "schedule/ProgInPeriod.h"

int ChkProgTime(CQProg prog) {
    if (!prog.IsSinglePlan()) return 0;
    CTime begin = prog.GetBeginTime();
    if (CTimeRect::IsPast(begin)) return -1;
    int year = std::min(CTime::GetCurrentTime().GetYear() + 2, 2038);
    if (begin >= CTime(year, 1, 1, 0, 0, 0)) return -2;
    if (begin < CTime::GetCurrentTime() + CTimeSpan(180)) return -3;
    if (begin < CTime::GetCurrentTime() + CTimeSpan(300)) return 1;
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
        CTimeRect around(AddLocalDays(s.GetBegin(), -1), AddLocalDays(s.GetEnd(), 1));
        GetProgInPeriod(weekly, around, &listB);
    } else {
        // Both weekly: compare them within the week that begins on the
        // reference Friday both are placed on.
        CTime ref(1971, 1, 1, 0, 0, 0);
        CTimeRect week(ref, ref + CTimeSpan(7, 0, 0, 0));
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
