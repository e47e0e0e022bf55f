// quillon-lint and quillon-render as a skin author runs them: what they
// print, what they write and what their exit status says.

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/picture_files.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;  // stdout and stderr
};

Outcome Start(const std::string& command) {
    Outcome r;
    std::FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (p == nullptr) return r;
    char buffer[512];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) r.out.append(buffer, n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const std::string& path) {
    const picturetest::Bytes b = picturetest::ReadAll(path);
    if (b.size() < 24) return {0, 0};
    return {quillon::testfiles::Be32(b, 16), quillon::testfiles::Be32(b, 20)};
}

std::string SkinWithIcon(const char* icon, const char* more = "") {
    return picturetest::Tabs(
        std::string("BG\nBMP|\"bg.bmp\"\nEND\nPROGRAMMARGIN|180\nGOTODAYBUTTON\nICON|\"") + icon +
        "\"\nVIEW|TIMER\nPOSITION|1,1\nEND\n" + more);
}

}  // namespace

// One skin folder, with a clean and a broken description, serves both programs.
TEST(Programs, LintAndRenderPrintWhatTheyFindAndExitOneOnlyOnErrors) {
    picturetest::TempDir dir;
    dir.Write("bg.bmp", picturetest::MakeBmp24(40, 30, std::vector<std::uint32_t>(1200, 0x336699)));
    dir.Write("i.bmp", picturetest::MakeGreyBmp(1, 1, {255}));
    const std::string lint = QUILLON_LINT, render = QUILLON_RENDER;

    const std::string clean = dir.Write("clean.ini", SkinWithIcon("i.bmp"));
    Outcome r = Start(lint + " " + clean);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "quillon-lint: " + clean + ": 0 errors, 0 warnings\n");

    const std::string warned = dir.Write("warned.ini", SkinWithIcon("i.bmp", "FOO|1\n"));
    r = Start(lint + " " + warned);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(warned + ":10: warning: FOO is no section"), std::string::npos) << r.out;

    const std::string broken = dir.Write("broken.ini", SkinWithIcon("none.bmp"));
    r = Start(lint + " " + broken);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find(broken + ":6: error: ICON \"none.bmp\": cannot be opened"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("1 error, 0 warnings"), std::string::npos) << r.out;

    // The pictures may live elsewhere; the folder needs no separator at its end.
    picturetest::TempDir other;
    other.Write("none.bmp", picturetest::MakeGreyBmp(1, 1, {255}));
    other.Write("bg.bmp", picturetest::MakeBmp24(4, 3, std::vector<std::uint32_t>(12, 0)));
    std::string folder = other.Path("");
    folder.pop_back();
    EXPECT_EQ(Start(lint + " --pictures " + folder + " " + broken).status, 0);
    EXPECT_EQ(Start(lint).status, 2);

    // Render writes the three views of the clean skin.
    r = Start(render + " " + clean + " " + dir.Path("out"));
    EXPECT_EQ(r.status, 0) << r.out;
    // The background and the window's client edge around it.
    for (const char* view : {"audio", "luncher", "timer"})
        EXPECT_EQ(PngSize(dir.Path("out/") + view + ".png"), std::make_pair(46, 36)) << view;
    // The broken skin still gives its views, and the box it would show.
    r = Start(render + " " + broken + " " + dir.Path("bad"));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("message box \"Error\": " + dir.Path("none.bmp")), std::string::npos)
        << r.out;
    EXPECT_EQ(PngSize(dir.Path("bad/timer.png")), std::make_pair(46, 36));
}
