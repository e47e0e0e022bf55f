#include "schedule/ProgInPeriod.h"

bool GetProgInPeriod(CQProg prog, CTimeRect period, CArray<CTimeRect, CTimeRect>* out) {
    out->RemoveAll();
    CTimeRect r = prog.GetTime();
    CTimeRect hit;
    if (prog.IsSinglePlan()) {
        if (hit.GetOverlap(r, period)) out->Add(r);
        return out->GetSize() > 0;
    }

    struct tm day;
    period.GetBegin().GetLocalTm(&day);
    struct tm b;
    struct tm e;
    r.GetBegin().GetLocalTm(&b);
    r.GetEnd().GetLocalTm(&e);
    const int year = day.tm_year + 1900;
    const int month = day.tm_mon + 1;

    // One candidate run per calendar day, starting the day before the period
    // so that a run reaching into it from the evening before is found. Each
    // candidate is built from its date, so daylight-saving changes do not move
    // the runs' times of day.
    bool first = true;
    CTime previous;
    for (int k = -1;; ++k) {
        const int mday = day.tm_mday + k;
        CTime begin(year, month, mday, b.tm_hour, b.tm_min, b.tm_sec);
        if (!(begin < period.GetEnd())) break;
        // Past what 32 bits can hold the dates stop advancing: stop with them.
        if (!first && begin <= previous) break;
        first = false;
        previous = begin;
        CTime end(year, month, mday, e.tm_hour, e.tm_min, e.tm_sec);
        if (end <= begin) end = CTime(year, month, mday + 1, e.tm_hour, e.tm_min, e.tm_sec);
        CTimeRect candidate(begin, end);
        struct tm w;
        begin.GetLocalTm(&w);
        if (prog.IsWeekly(w.tm_wday) && hit.GetOverlap(candidate, period)) out->Add(candidate);
    }
    return out->GetSize() > 0;
}
