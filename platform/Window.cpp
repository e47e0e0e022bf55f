#include <quillon/platform/Window.h>

#include <unistd.h>

#include <climits>
#include <string>

#include "platform/Backend.h"

namespace {

// The application's name, as the framework titles its boxes: the file name
// of the executable without its extension.
CString AppName() {
    static const CString name = [] {
        char buf[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        std::string path = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "quillon";
        std::string base = path.substr(path.find_last_of('/') + 1);
        auto dot = base.rfind('.');
        if (dot != std::string::npos && dot > 0) base.erase(dot);
        return CString(base);
    }();
    return name;
}

}  // namespace

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return quillon::platform::CurrentBackend().MessageBox(
        this, CString(text), CString(caption ? caption : "Error"), type);
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
    return quillon::platform::CurrentBackend().MessageBox(nullptr, CString(text), AppName(), type);
}
