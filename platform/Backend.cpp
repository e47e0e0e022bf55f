#include "platform/Backend.h"

#include <cstdio>
#include <string>

namespace quillon {
namespace platform {
namespace {

class ConsoleBackend : public Backend {
public:
    int MessageBox(CWnd* /*owner*/, const CString& text, const CString& caption,
                   UINT /*type*/) override {
        std::string line = ToUtf8(caption) + ": " + ToUtf8(text) + "\n";
        std::fputs(line.c_str(), stderr);
        return IDOK;
    }
};

ConsoleBackend g_console;
Backend* g_backend = &g_console;

}  // namespace

Backend& CurrentBackend() {
    return *g_backend;
}
void SetBackend(Backend* backend) {
    g_backend = backend ? backend : &g_console;
}

}  // namespace platform
}  // namespace quillon
