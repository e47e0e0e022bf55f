// One execution log entry: the program that ran and when it really ran.
#pragma once

#include <quillon/QProg.h>
#include <quillon/TimeRect.h>

class CQProgLog : public CQProg {
public:
    CQProgLog() = default;
    CQProgLog(const CQProgLog&) = default;
    CQProgLog& operator=(const CQProgLog&) = default;
    ~CQProgLog() override = default;

    int GetLogState() const { return m_nLogState; }
    void SetLogTime(CTimeRect r);
    void GetLogTime(CTime* begin, CTime* end) const;

    CString GetLogStrState() const;
    CString GetLogBeginDay() const;
    CString GetLogStrTime() const;
    CString GetLogStr() const;

    bool IsProper() const;

    // Written by the host: 0 executed, 1 execution error, -1 no state.
    std::int32_t m_nLogState = -1;

private:
    CTime m_tLogBegin;
    CTime m_tLogEnd;
};

CTimeRect GetLogTimeRect(CQProgLog log);
