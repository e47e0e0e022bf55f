#include <quillon/platform/CString.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

CString::CString(const char* s, int length) {
    if (s != nullptr && length > 0) m_s.assign(s, static_cast<std::size_t>(length));
}

CString::CString(char ch, int repeat) {
    if (repeat > 0) m_s.assign(static_cast<std::size_t>(repeat), ch);
}

char CString::GetAt(int i) const {
    if (i < 0 || i >= GetLength()) return '\0';
    return m_s[static_cast<std::size_t>(i)];
}

void CString::SetAt(int i, char ch) {
    if (i >= 0 && i < GetLength()) m_s[static_cast<std::size_t>(i)] = ch;
}

CString& CString::operator=(const char* s) {
    m_s = s ? s : "";
    return *this;
}

CString& CString::operator+=(const CString& s) {
    m_s += s.m_s;
    return *this;
}

CString& CString::operator+=(const char* s) {
    if (s) m_s += s;
    return *this;
}

CString& CString::operator+=(char ch) {
    m_s += ch;
    return *this;
}

int CString::Compare(const char* s) const {
    return _mbscmp(m_s.c_str(), s);
}

void CString::Format(const char* format, ...) {
    if (format == nullptr) {
        m_s.clear();
        return;
    }
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(&out[0], out.size(), format, again);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(again);
    m_s = std::move(out);  // the arguments may point into m_s: replace it last
}

CString CString::Left(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_s.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_s.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_s.substr(m_s.size() - static_cast<std::size_t>(count)));
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    auto pos = m_s.find(ch, static_cast<std::size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* sub, int start) const {
    if (sub == nullptr || start < 0 || start > GetLength()) return -1;
    auto pos = m_s.find(sub, static_cast<std::size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
    auto pos = m_s.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

namespace {
template <class F>
void ForEachSingleByte(std::string& s, F f) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (IsSjisLeadByte(c)) {
            ++i;  // the trail byte belongs to this character
            continue;
        }
        s[i] = static_cast<char>(f(c));
    }
}
}  // namespace

void CString::MakeUpper() {
    ForEachSingleByte(m_s, [](unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; });
}

void CString::MakeLower() {
    ForEachSingleByte(m_s, [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; });
}

void CString::TrimLeft() {
    auto pos = m_s.find_first_not_of(" \t\r\n");
    m_s.erase(0, pos == std::string::npos ? m_s.size() : pos);
}

void CString::TrimRight() {
    auto pos = m_s.find_last_not_of(" \t\r\n");
    m_s.erase(pos == std::string::npos ? 0 : pos + 1);
}

int CString::Replace(const char* oldText, const char* newText) {
    if (oldText == nullptr || *oldText == '\0') return 0;
    std::string with = newText ? newText : "";
    std::size_t oldLen = std::strlen(oldText);
    int count = 0;
    std::size_t pos = 0;
    while ((pos = m_s.find(oldText, pos)) != std::string::npos) {
        m_s.replace(pos, oldLen, with);
        pos += with.size();
        ++count;
    }
    return count;
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, const char* b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(const char* a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, char b) {
    CString r(a);
    r += b;
    return r;
}

bool operator==(const CString& a, const CString& b) {
    return a.str() == b.str();
}
bool operator==(const CString& a, const char* b) {
    return a.Compare(b) == 0;
}
bool operator==(const char* a, const CString& b) {
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}
bool operator!=(const CString& a, const char* b) {
    return !(a == b);
}
bool operator!=(const char* a, const CString& b) {
    return !(a == b);
}
bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}
bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}
bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}

int _mbscmp(const char* a, const char* b) {  // NOLINT(bugprone-reserved-identifier)
    const auto* pa = reinterpret_cast<const unsigned char*>(a ? a : "");
    const auto* pb = reinterpret_cast<const unsigned char*>(b ? b : "");
    while (*pa != 0 && *pa == *pb) {
        ++pa;
        ++pb;
    }
    return static_cast<int>(*pa) - static_cast<int>(*pb);
}
