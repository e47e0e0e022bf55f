#include <quillon/platform/CTime.h>

#include <locale.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace {

std::int32_t Wrap(std::int64_t v) {
    // Spans and instants are 32-bit counts; arithmetic wraps as theirs does.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// localtime_r and mktime look at the zone again on every call, and a paint
// asks for the same few instants and dates again and again. Their answers
// are kept, per instant and per field set, until TZ names another zone.
class ZoneCache {
public:
    bool Local(std::time_t t, struct tm* out) {
        std::lock_guard<std::mutex> hold(m_lock);
        Check();
        LocalEntry& e = m_local[Slot(static_cast<std::uint64_t>(t))];
        if (!e.valid || e.t != t) {
            if (localtime_r(&t, &e.tm) == nullptr) return false;
            e.t = t;
            e.valid = true;
        }
        *out = e.tm;
        return true;
    }
    std::time_t Make(const struct tm& fields) {
        std::lock_guard<std::mutex> hold(m_lock);
        Check();
        const int key[7] = {fields.tm_year, fields.tm_mon, fields.tm_mday, fields.tm_hour,
                            fields.tm_min,  fields.tm_sec, fields.tm_isdst};
        std::uint64_t h = 0;
        for (int k : key) h = h * 1000003u + static_cast<std::uint32_t>(k);
        MakeEntry& e = m_made[Slot(h)];
        if (!e.valid || std::memcmp(e.key, key, sizeof key) != 0) {
            struct tm tm = fields;
            e.result = std::mktime(&tm);
            std::memcpy(e.key, key, sizeof key);
            e.valid = true;
        }
        return e.result;
    }

private:
    static constexpr int kSlots = 64;
    struct LocalEntry {
        bool valid = false;
        std::time_t t = 0;
        struct tm tm {};
    };
    struct MakeEntry {
        bool valid = false;
        int key[7] = {};
        std::time_t result = 0;
    };
    static std::size_t Slot(std::uint64_t h) {
        return static_cast<std::size_t>((h * 0x9E3779B97F4A7C15ull) >> 58);
    }
    void Check() {
        const char* tz = std::getenv("TZ");
        if ((tz != nullptr) == m_tzSet && (!tz || m_tz == tz)) return;
        m_tzSet = tz != nullptr;
        m_tz = tz ? tz : "";
        for (LocalEntry& e : m_local) e.valid = false;
        for (MakeEntry& e : m_made) e.valid = false;
    }

    std::mutex m_lock;
    bool m_tzSet = false;
    std::string m_tz;
    LocalEntry m_local[kSlots];
    MakeEntry m_made[kSlots];
};

ZoneCache& Zone() {
    static ZoneCache* cache = new ZoneCache;  // never destroyed: times may be read at exit
    return *cache;
}

locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

CString FormatTm(const struct tm& tm, const char* format) {
    if (format == nullptr || *format == '\0') return CString();
    std::vector<char> buf(128);
    for (int tries = 0; tries < 10; ++tries) {
        std::size_t n = CLocale() ? strftime_l(buf.data(), buf.size(), format, &tm, CLocale())
                                  : std::strftime(buf.data(), buf.size(), format, &tm);
        if (n > 0) return CString(buf.data(), static_cast<int>(n));
        buf.resize(buf.size() * 4);  // 0 may mean "too small" or an empty result
    }
    return CString();
}

}  // namespace

CTimeSpan::CTimeSpan(long days, int hours, int mins, int secs)
    : m_span(Wrap(((static_cast<std::int64_t>(days) * 24 + hours) * 60 + mins) * 60 + secs)) {}

CTimeSpan CTimeSpan::operator+(CTimeSpan o) const {
    return CTimeSpan(Wrap(static_cast<std::int64_t>(m_span) + o.m_span));
}
CTimeSpan CTimeSpan::operator-(CTimeSpan o) const {
    return CTimeSpan(Wrap(static_cast<std::int64_t>(m_span) - o.m_span));
}
CTimeSpan CTimeSpan::operator-() const {
    return CTimeSpan(Wrap(-static_cast<std::int64_t>(m_span)));
}
CTimeSpan& CTimeSpan::operator+=(CTimeSpan o) {
    return *this = *this + o;
}
CTimeSpan& CTimeSpan::operator-=(CTimeSpan o) {
    return *this = *this - o;
}

CTime::CTime(int year, int month, int day, int hour, int min, int sec, int dst) {
    struct tm tm {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = min;
    tm.tm_sec = sec;
    tm.tm_isdst = dst;
    std::time_t t = Zone().Make(tm);
    if (t < std::numeric_limits<std::int32_t>::min() ||
        t > std::numeric_limits<std::int32_t>::max()) {
        m_time = -1;
    } else {
        m_time = static_cast<std::int32_t>(t);
    }
}

CTime CTime::GetCurrentTime() {
    return CTime(quillon::platform::CurrentClock().NowSeconds());
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
    static struct tm buffer;  // shared, as the C library's
    if (ptm == nullptr) ptm = &buffer;
    if (!Zone().Local(m_time, ptm)) std::memset(ptm, 0, sizeof *ptm);
    return ptm;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const {
    static struct tm buffer;  // shared, as the C library's
    if (ptm == nullptr) ptm = &buffer;
    std::time_t t = m_time;
    if (gmtime_r(&t, ptm) == nullptr) std::memset(ptm, 0, sizeof *ptm);
    return ptm;
}

int CTime::GetYear() const {
    struct tm tm;
    return GetLocalTm(&tm)->tm_year + 1900;
}
int CTime::GetMonth() const {
    struct tm tm;
    return GetLocalTm(&tm)->tm_mon + 1;
}
int CTime::GetDay() const {
    struct tm tm;
    return GetLocalTm(&tm)->tm_mday;
}
int CTime::GetHour() const {
    struct tm tm;
    return GetLocalTm(&tm)->tm_hour;
}
int CTime::GetMinute() const {
    struct tm tm;
    return GetLocalTm(&tm)->tm_min;
}
int CTime::GetSecond() const {
    struct tm tm;
    return GetLocalTm(&tm)->tm_sec;
}
int CTime::GetDayOfWeek() const {
    struct tm tm;
    return GetLocalTm(&tm)->tm_wday + 1;
}

CString CTime::Format(const char* format) const {
    struct tm tm;
    return FormatTm(*GetLocalTm(&tm), format);
}

CString CTime::FormatGmt(const char* format) const {
    struct tm tm;
    return FormatTm(*GetGmtTm(&tm), format);
}

CTime CTime::operator+(CTimeSpan s) const {
    return CTime(Wrap(static_cast<std::int64_t>(m_time) + s.GetTotalSeconds()));
}
CTime CTime::operator-(CTimeSpan s) const {
    return CTime(Wrap(static_cast<std::int64_t>(m_time) - s.GetTotalSeconds()));
}
CTimeSpan CTime::operator-(CTime t) const {
    return CTimeSpan(Wrap(static_cast<std::int64_t>(m_time) - t.m_time));
}
CTime& CTime::operator+=(CTimeSpan s) {
    return *this = *this + s;
}
CTime& CTime::operator-=(CTimeSpan s) {
    return *this = *this - s;
}
