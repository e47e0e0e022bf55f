// quillon-render TARVIK.INI OUTDIR: the screen of a description, built
// without a display, written as OUTDIR/audio.png, luncher.png and timer.png,
// with the message boxes its construction raised.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include "frame/pictures/DibPicture.h"
#include "tools/Lint.h"

namespace {

// The host window's client edge on each side: the background fills the
// client area, so the window is the picture and the edge around it.
constexpr int kEdge = 3;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: quillon-render TARVIK.INI OUTDIR\n", stderr);
        return 2;
    }
    const std::string ini = argv[1];
    const std::string out = argv[2];
    const std::string pictures = FolderOf(ini);
    mkdir(out.c_str(), 0755);

    quillon::testing::Harness harness;
    // Without a background picture to size it the window takes the common
    // default; the box about the picture tells why.
    CSize size(800 + 2 * kEdge, 600 + 2 * kEdge);
    const std::string background = quillon::lint::LintDescription(ini, pictures).background;
    CDibPicture bg;
    if (!background.empty() && bg.Load(CString(background)))
        size = CSize(bg.GetSize().cx + 2 * kEdge, bg.GetSize().cy + 2 * kEdge);

    CWnd* parent = harness.CreateParent(size.cx, size.cy);
    if (parent == nullptr) {
        std::fprintf(stderr, "quillon-render: no window of %d x %d\n", static_cast<int>(size.cx),
                     static_cast<int>(size.cy));
        return 1;
    }
    CString iniPath(ini);
    CString pictureDir(pictures);
    int failed = 0;
    {
        CQMainScreen screen("QuillonRender", parent, CRect(0, 0, size.cx, size.cy), &iniPath,
                            &pictureDir);
        const char* const views[] = {"audio", "luncher", "timer"};
        for (int view = 0; view < 3; ++view) {
            screen.SetViewMode(view);
            harness.AdvanceMs(0);
            const std::string png = out + "/" + views[view] + ".png";
            if (harness.SavePng(png)) {
                std::printf("%s\n", png.c_str());
            } else {
                std::fprintf(stderr, "quillon-render: %s not written\n", png.c_str());
                ++failed;
            }
        }
    }
    const auto boxes = harness.MessageBoxes();
    for (const quillon::testing::MessageBoxRecord& box : boxes)
        std::printf("message box \"%s\": %s\n", ToUtf8(CString(box.caption)).c_str(),
                    ToUtf8(CString(box.text)).c_str());
    std::fprintf(stderr, "quillon-render: %s: %zu message box%s\n", ini.c_str(), boxes.size(),
                 boxes.size() == 1 ? "" : "es");
    return boxes.empty() && failed == 0 ? 0 : 1;
}
