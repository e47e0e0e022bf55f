#include "frame/IniFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

void CIniFile::SplitTokens(const CString& line, CStringArray* tokens) {
    tokens->RemoveAll();
    // Only TAB and LF separate: "FM TUNER" and "10, 20" are single tokens.
    // Runs of separators count as one and leading ones are skipped.
    const std::string& s = line.str();
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == '\t' || s[i] == '\n')) ++i;
        if (i >= s.size()) break;
        std::size_t start = i;
        while (i < s.size() && s[i] != '\t' && s[i] != '\n') ++i;
        tokens->Add(CString(s.substr(start, i - start)));
    }
}

bool CIniFile::ReadRawTokens(CStringArray* tokens) {
    CString line;
    if (!ReadString(line)) return false;
    ++m_nLineNo;
    SplitTokens(line, tokens);
    if (tokens->GetSize() < kTokens) tokens->SetSize(kTokens);
    tokens->SetAt(kTokens - 1, CString());
    // A token that begins with "//" starts a comment to the end of the line.
    bool comment = false;
    for (int i = 0; i < tokens->GetSize(); ++i) {
        CString& t = tokens->ElementAt(i);
        if (!comment && t.GetLength() >= 2 && t.GetAt(0) == '/' && t.GetAt(1) == '/')
            comment = true;
        if (comment) t.Empty();
    }
    return true;
}

bool CIniFile::ReadTokenLine(CStringArray* tokens) {
    do {
        if (!ReadRawTokens(tokens)) return false;
    } while (tokens->GetAt(0).IsEmpty());
    for (int i = 0; i < tokens->GetSize(); ++i) {
        CString& t = tokens->ElementAt(i);
        int n = t.GetLength();
        if (n >= 1 && t.GetAt(0) == '"' && t.GetAt(n - 1) == '"') {
            // Quoted: the text between the quotes, case kept.
            t = n >= 2 ? t.Mid(1, n - 2) : CString();
        } else {
            t.MakeUpper();
        }
    }
    return true;
}

int CIniFile::ScanInts(const char* text, int* values, int count) {
    if (text == nullptr) return 0;
    const char* p = text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (*p != ',') return i;
            ++p;
        }
        char* end = nullptr;
        errno = 0;
        long v = std::strtol(p, &end, 10);
        if (end == p) return i;
        if (v > INT_MAX) v = INT_MAX;
        if (v < INT_MIN) v = INT_MIN;
        values[i] = static_cast<int>(v);
        p = end;
    }
    return count;
}
