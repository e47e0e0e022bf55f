// Builders shared by the schedule tests. Build programs only while a Harness
// lives: it fixes the time zone that CTime's calendar fields are read in.
#pragma once

#include <string>
#include <vector>

#include <quillon/QProg.h>
#include <quillon/QProgLog.h>
#include <quillon/testing.h>

namespace schedtest {

enum Day {
    kSun = 0x01,
    kMon = 0x02,
    kTue = 0x04,
    kWed = 0x08,
    kThu = 0x10,
    kFri = 0x20,
    kSat = 0x40
};

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
    CQProg p;
    p.SetSlotNo(slot);
    p.SetKind(kind);
    p.SetWeekly(pattern);
    p.SetTime(CTime(2025, 1, 6, bh, bm, 0), CTime(2025, 1, 6, eh, em, 0));
    return p;
}

inline std::string S(const char* utf8) {
    return Sjis(utf8).str();
}

// Texts of the boxes shown since `from`.
inline std::vector<std::string> BoxTexts(const quillon::testing::Harness& h, std::size_t from = 0) {
    std::vector<std::string> out;
    auto boxes = h.MessageBoxes();
    for (std::size_t i = from; i < boxes.size(); ++i) out.push_back(boxes[i].text);
    return out;
}

}  // namespace schedtest
