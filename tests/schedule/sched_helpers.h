// Builders shared by the schedule tests. Build programs only while a Harness
// lives: it fixes the time zone that CTime's calendar fields are read in.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include <quillon/QProgLog.h>
#include <quillon/testing.h>

#include "schedule/ProgInPeriod.h"
#include "schedule/Rules.h"

namespace schedtest {

using quillon::testing::Harness;
using Texts = std::vector<std::string>;

enum Day { kSun = 1, kMon = 2, kTue = 4, kWed = 8, kThu = 16, kFri = 32, kSat = 64 };

// A single program on a local date (kind 0, "CD再生", unless told).
inline CQProg Single(int slot, int y, int mo, int d, int bh, int bm, int eh, int em, int kind = 0) {
    CQProg p;
    p.SetSlotNo(slot);
    p.SetKind(kind);
    p.SetTime(CTime(y, mo, d, bh, bm, 0), CTime(y, mo, d, eh, em, 0));
    return p;
}

// A weekly program on the weekdays of `pattern`.
inline CQProg Weekly(int slot, int pattern, int bh, int bm, int eh, int em, int kind = 0) {
    CQProg p = Single(slot, 2025, 1, 6, bh, bm, eh, em, kind);
    p.SetWeekly(pattern);
    return p;
}

// A log of `p` that ran over `ran`, in `state` (-1, the default: none told).
inline CQProgLog LogOf(const CQProg& p, const CTimeRect& ran, int state = -1) {
    CQProgLog log;
    static_cast<CQProg&>(log) = p;
    log.SetLogTime(ran);
    log.m_nLogState = state;
    return log;
}

inline std::string S(const char* utf8) {
    return Sjis(utf8).str();
}

// Texts of the boxes shown since `from`.
inline Texts BoxTexts(const quillon::testing::Harness& h, std::size_t from = 0) {
    Texts out;
    auto boxes = h.MessageBoxes();
    for (std::size_t i = from; i < boxes.size(); ++i) out.push_back(boxes[i].text);
    return out;
}

// {a, b, margin, result}. The pair check does not depend on argument order:
// each case runs both ways.
inline void ExpectPairs(const std::vector<std::tuple<CQProg, CQProg, int, int>>& cases) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [a, b, margin, expect] = cases[i];
        EXPECT_EQ(ChkOverlapProgPair(a, b, margin), expect) << "case " << i;
        EXPECT_EQ(ChkOverlapProgPair(b, a, margin), expect) << "case " << i << " swapped";
    }
}

}  // namespace schedtest
