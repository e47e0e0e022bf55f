#pragma once

#include <quillon/QProg.h>

// Against the clock: 0 fine (and every weekly program), 1 fine but within five
// minutes, -1 in the past, -2 on or after 1 January of the year after next
// (2038 at the latest), -3 within three minutes.
int ChkProgTime(CQProg prog);

// 0 apart, -1 overlapping, -2 closer than `margin` seconds.
int ChkOverlapProgPair(CQProg a, CQProg b, int margin);
