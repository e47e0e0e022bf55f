#include <quillon/QProgLog.h>

#include <quillon/platform/Window.h>

void CQProgLog::SetLogTime(CTimeRect r) {
    m_tLogBegin = r.GetBegin();
    m_tLogEnd = r.GetEnd();
}

void CQProgLog::GetLogTime(CTime* begin, CTime* end) const {
    if (begin != nullptr) *begin = m_tLogBegin;
    if (end != nullptr) *end = m_tLogEnd;
}

CString CQProgLog::GetLogStrState() const {
    if (m_nLogState == 0) return Sjis("実行済み");
    if (m_nLogState == 1) return Sjis("実行エラー");
    return CString();
}

CString CQProgLog::GetLogBeginDay() const {
    return m_tLogBegin.Format("%Y/%m/%d");
}

CString CQProgLog::GetLogStrTime() const {
    CString s;
    s.Format("%s - %s", m_tLogBegin.Format("%H:%M").c_str(), m_tLogEnd.Format("%H:%M").c_str());
    return s;
}

CString CQProgLog::GetLogStr() const {
    CString s;
    CString t;
    t.Format("%s SlotNo[%02d]", s.c_str(), GetSlotNo());
    s = t;
    t.Format("%s Time[%s]", s.c_str(), CTimeRect(m_tLogBegin, m_tLogEnd).GetStr().c_str());
    return t;
}

bool CQProgLog::IsProper() const {
    if (!CQProg::IsProper()) return false;
    if (m_tLogBegin >= m_tLogEnd) {
        AfxMessageBox(Sjis("Unknow Error! CQProgLog\n開始終了時刻の順序が不正"), MB_OK, 0);
        return false;
    }
    // In 64 bits: the 32-bit difference of far-apart instants would wrap.
    if (static_cast<std::int64_t>(m_tLogEnd.GetTime()) - m_tLogBegin.GetTime() >= 86400) {
        AfxMessageBox(Sjis("Unknow Error! CQProgLog\n開始から終了までの時間が規定値を超えている"),
                      MB_OK, 0);
        return false;
    }
    return true;
}

CTimeRect GetLogTimeRect(CQProgLog log) {
    CTime begin;
    CTime end;
    log.GetLogTime(&begin, &end);
    return CTimeRect(begin, end);
}
