// The screen description file's line reader: one token list per meaningful
// line, TAB-separated, comments and case folded as the format says.
#pragma once

#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>

#include "platform/StdioFile.h"

class CIniFile : public CStdioFile {
public:
    // Entries 0..16 always exist; entry 16 is always empty.
    static constexpr int kTokens = 17;

    // Starts the line count again.
    bool Open(const char* path, UINT flags) {
        m_nLineNo = 0;
        return CStdioFile::Open(path, flags);
    }

    // False at end of file; otherwise the next line that has something in
    // entry 0, its tokens unquoted or upper-cased.
    bool ReadTokenLine(CStringArray* tokens);

    // One raw line cut into tokens, padded to kTokens, comments emptied.
    bool ReadRawTokens(CStringArray* tokens);
    static void SplitTokens(const CString& line, CStringArray* tokens);

    // Physical lines read so far: after ReadTokenLine, the line the tokens
    // came from (1 for the first line); at end of file, the last line.
    int GetLineNo() const { return m_nLineNo; }

    // Reads up to `count` decimal integers separated by single commas, as the
    // format "%d,%d,..." reads them: blanks before a number are skipped, a
    // comma must follow the number directly. Returns how many were read; the
    // values after the first failure are left alone. A number beyond the
    // range of int is held at the nearest end.
    static int ScanInts(const char* text, int* values, int count);

private:
    int m_nLineNo = 0;
};
