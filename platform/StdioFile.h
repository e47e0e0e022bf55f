// Files as the framework reads them. Text mode is the Windows C runtime's:
// a CR before LF is dropped, so description files written with CR LF line
// ends read the same as LF ones.
#pragma once

#include <cstdio>

#include <quillon/platform/CString.h>
#include <quillon/platform/Types.h>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
};

class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    virtual ~CStdioFile();
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // Reading only: writing is never needed by the system.
    bool Open(const char* path, UINT flags);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    // One line without its line end; false at end of file. A last line
    // without a line end is still a line.
    bool ReadString(CString& line);

private:
    std::FILE* m_file = nullptr;
    bool m_text = true;
};
