// One timer program (reservation): slot, kind, times of day and either a date
// or a set of weekdays.
#pragma once

#include <cstdint>

#include <quillon/TimeRect.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/CTime.h>

class CQProg {
public:
    CQProg() = default;
    CQProg(const CQProg&) = default;
    CQProg& operator=(const CQProg&) = default;
    virtual ~CQProg() = default;

    int GetSlotNo() const { return m_nSlotNo; }
    void SetSlotNo(int slot) { m_nSlotNo = slot; }

    // Kinds 0 "CD再生", 1 "MD再生", 2 "FM音声受信", 3 "パーソナルタイマー",
    // 4 "FM⇒MD録音"; 5 to 8 can be read but not set; -1 for anything else.
    bool SetKind(int kind);
    int GetKind(CString* name = nullptr) const;

    // Raw action and source numbers, for hosts that store records as they are.
    int GetAction() const { return m_nAction; }
    int GetSource() const { return m_nSource; }
    void SetActionSource(int action, int source) {
        m_nAction = action;
        m_nSource = source;
    }

    // Weekday bits: bit d is local weekday d, 0 Sunday ... 6 Saturday.
    void SetWeekly(int pattern);
    int GetWeekly() const { return m_byDay; }
    bool IsWeekly(int day) const;
    bool IsSinglePlan() const;

    void SetTime(CTime begin, CTime end);
    CTime GetBeginTime() const;
    CTime GetEndTime() const;
    void GetTime(CTime* begin, CTime* end) const;
    CTimeRect GetTime() const;

    CString GetStrPattern() const;
    CString GetStrTime() const;
    CString GetStr() const;

    bool IsNKXMail() const { return m_bNKXMail; }
    // Shows the first rule a record breaks in a message box.
    bool IsProper() const;

private:
    std::int32_t m_nSlotNo = -1;
    std::uint32_t m_dwReserved1 = 0;
    std::int32_t m_nAction = 0;
    std::uint8_t m_byBeginHour = 0;
    std::uint8_t m_byBeginMin = 0;
    std::uint8_t m_byEndHour = 0;
    std::uint8_t m_byEndMin = 0;
    std::uint16_t m_wYear = 0;
    std::uint8_t m_byMonth = 0;
    std::uint8_t m_byDay = 0;  // the weekday bits of a weekly program
    std::uint32_t m_dwReserved2 = 0;
    std::int32_t m_nSource = 0;
    std::uint32_t m_dwReserved3[3] = {0, 0, 0};

public:
    // Written by the host; belongs to the personal timer kind.
    bool m_bNKXMail = false;
};
