// The description reader on arbitrary bytes with the real items, beside the
// default skin's pictures (QUILLON_FUZZ_SKIN_DIR, with its trailing '/';
// without it, a folder of one small background picture). The screen is built
// under the test harness, switched through its views, given states, a drag
// and a wheel, and destroyed.
#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_files.h"
#include "platform/decode/PictureDecoder.h"

namespace {

using fuzzfiles::WriteFile;

std::string g_ini;
std::string g_pictures;

bool SetUp() {
    char dir[] = "/tmp/quillon-fuzz-skin-XXXXXX";
    if (mkdtemp(dir) == nullptr) return false;
    g_ini = std::string(dir) + "/TARVIK.INI";
    const char* skin = std::getenv("QUILLON_FUZZ_SKIN_DIR");
    if (skin != nullptr && *skin) {
        g_pictures = skin;
        return true;
    }
    // An 8 x 8 grey 24-bit background.
    g_pictures = std::string(dir) + "/";
    return quillon::platform::WriteBmpOf((g_pictures + "bg.bmp").c_str(), 8, 8,
                                         [](int, int) { return RGB(0x80, 0x80, 0x80); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = SetUp();
    if (!ready || !WriteFile(g_ini.c_str(), data, size)) return 0;
    quillon::testing::Harness h;
    // A small window: the items lie where the file says, painting is cut.
    CWnd* parent = h.CreateParent(160, 120);
    CString ini(g_ini.c_str()), pictures(g_pictures.c_str());
    auto* screen = new CQMainScreen("QuillonFuzz", parent, CRect(0, 0, 160, 120), &ini, &pictures);
    for (int mode = 0; mode <= 3; ++mode) screen->SetViewMode(mode);
    screen->SetViewMode(2);
    h.AdvanceMs(0);
    screen->SetStateCDDVD(2);
    screen->SetStateMD(5);
    screen->SetStateNKX(1, "x");
    screen->SetStateSpeaker(3);
    screen->SetStateDubbing("CD/DVD", "MD");
    CPoint md = h.ItemCenter(*screen, "MD");
    if (md.x >= 0) {
        h.LButtonDown(md.x, md.y);
        h.MouseMove(md.x + 20, md.y - 30, MK_LBUTTON);
        h.LButtonUp(md.x + 20, md.y - 30);
    }
    h.Wheel(-120);
    h.AdvanceMs(400);
    delete screen;
    return 0;
}
