// A byte string. Texts of the system are Shift-JIS (code page 932); nothing
// here decodes them except MakeUpper/MakeLower, which step over double-byte
// characters, and the UTF-8 converters at the end.
#pragma once

#include <cstddef>
#include <string>

#include <quillon/platform/Types.h>

class CString {
public:
    CString() = default;
    CString(const char* s) : m_s(s ? s : "") {}  // NOLINT(google-explicit-constructor)
    CString(const char* s, int length);
    CString(char ch, int repeat = 1);          // NOLINT(google-explicit-constructor)
    CString(const std::string& s) : m_s(s) {}  // NOLINT(google-explicit-constructor)

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    operator const char*() const { return m_s.c_str(); }  // NOLINT(google-explicit-constructor)
    const char* c_str() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }

    char GetAt(int i) const;
    void SetAt(int i, char ch);
    char operator[](int i) const { return GetAt(i); }

    CString& operator=(const char* s);
    CString& operator+=(const CString& s);
    CString& operator+=(const char* s);
    CString& operator+=(char ch);

    // Byte-wise comparison (as _mbscmp): <0, 0, >0.
    int Compare(const char* s) const;

    // printf formats; pass strings as const char*.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Counts and indexes are in bytes; out-of-range arguments are clamped.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;

    // ASCII letters only; the trail byte of a double-byte character is never
    // touched, even when it looks like a letter.
    void MakeUpper();
    void MakeLower();

    void TrimLeft();
    void TrimRight();
    int Replace(const char* oldText, const char* newText);

private:
    std::string m_s;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

// Exact byte-wise comparison of two multibyte strings (null counts as empty).
int _mbscmp(const char* a, const char* b);  // NOLINT(bugprone-reserved-identifier)

// Lead bytes of a double-byte Shift-JIS character.
inline bool IsSjisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Conversions for hosts and for the parts of the platform that need Unicode.
// Bytes that cannot be converted become U+FFFD (to UTF-8) or '?' (to Shift-JIS).
std::string ToUtf8(const CString& sjis);
CString FromUtf8(const char* utf8);
std::u32string ToUtf32(const CString& sjis);

// A Shift-JIS copy of a UTF-8 literal, converted once and kept for the life of
// the process, so texts of the system can be written readably in the source.
const CString& Sjis(const char* utf8Literal);
