#pragma once

#include <quillon/QProg.h>
#include <quillon/TimeRect.h>
#include <quillon/platform/Arrays.h>

// Empties `out`, then appends, in time order, every run of `prog` that
// overlaps `period` (whole runs, not clipped). True when one was found.
bool GetProgInPeriod(CQProg prog, CTimeRect period, CArray<CTimeRect, CTimeRect>* out);
