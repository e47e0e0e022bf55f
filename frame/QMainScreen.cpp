#include <quillon/QMainScreen.h>

#include <cstdio>

#include "platform/Backend.h"
#include "platform/Process.h"

namespace {

// Folder of the running executable, with its trailing separator.
CString ExecutableDir() {
    char path[4096];
    if (GetModuleFileName(nullptr, path, sizeof path) == 0) return CString("./");
    char drive[260];
    char dir[260];
    _splitpath(path, drive, dir, nullptr, nullptr);
    return CString(drive) + dir;
}

bool CanRead(const CString& path) {
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

}  // namespace

CQMainScreen::CQMainScreen(const char* /*className*/, CWnd* parent, CRect /*rect*/,
                           CString* iniPath, CString* pictureDir) {
    m_strExeDir = ExecutableDir();
    m_strPictureDir = pictureDir != nullptr ? *pictureDir : m_strExeDir;
    CString path = iniPath != nullptr ? *iniPath : m_strExeDir + "TARVIK.INI";
    if (!CanRead(path)) {
        CString text = CString("File Error ") + path;
        if (parent != nullptr) {
            parent->MessageBox(text);
        } else {
            quillon::platform::CurrentBackend().MessageBox(nullptr, text, CString("Error"), MB_OK);
        }
        return;  // an empty screen: no items, no window, view mode 0
    }
    // The description file's sections are read here once their items exist.
}

// The destructor and GetpCWnd are with the items (QMainScreenItems.cpp).
