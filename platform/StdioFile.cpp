#include "platform/StdioFile.h"

#include <string>

CStdioFile::~CStdioFile() {
    Close();
}

bool CStdioFile::Open(const char* path, UINT flags) {
    Close();
    if (path == nullptr || (flags & (modeWrite | modeReadWrite)) != 0) return false;
    m_file = std::fopen(path, "rb");
    m_text = (flags & typeBinary) == 0;
    return m_file != nullptr;
}

void CStdioFile::Close() {
    if (m_file != nullptr) std::fclose(m_file);
    m_file = nullptr;
}

bool CStdioFile::ReadString(CString& line) {
    line.Empty();
    if (m_file == nullptr) return false;
    std::string s;
    bool any = false;
    int c;
    while ((c = std::fgetc(m_file)) != EOF) {
        any = true;
        if (c == '\n') break;
        s += static_cast<char>(c);
    }
    if (!any) return false;
    if (m_text && c == '\n' && !s.empty() && s.back() == '\r') s.pop_back();
    line = CString(s);
    return true;
}
