// Building a screen from its description: a file of 60 sections (BG with a
// 64 x 64 picture, then 59 item sections of every kind with the lines a
// real skin gives them, read and dropped until their item classes exist)
// and the one-line statements. The baseline reads the same file's lines
// with the line reader alone.
#include <benchmark/benchmark.h>

#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "frame/IniFile.h"
#include "platform/decode/PictureDecoder.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

std::string Folder() {
    static const std::string dir = [] {
        char name[] = "/tmp/quillon-bench-screen-XXXXXX";
        const char* made = mkdtemp(name);
        return std::string(made != nullptr ? made : "/tmp") + "/";
    }();
    return dir;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// One item section with the common keys for three views and a few lines of
// its own.
std::string Section(const char* keyword, int n) {
    std::string s = std::string(keyword) + "\n";
    s += "\tNAME\t\"" + std::string(keyword) + std::to_string(n) + "\"\n";
    s += "\tDEFAULTTOOLTIP\t\"tool hint " + std::to_string(n) + "\"\n";
    const char* views[] = {"AUDIO", "LUNCHER", "TIMER"};
    for (int v = 0; v < 3; ++v) {
        s += "\tVIEW\t" + std::string(views[v]) + "\n";
        s += "\tPOSITION\t" + std::to_string(10 * n) + "," + std::to_string(5 * v) + "\n";
        s += "\tSIZE\t48,48\n";
        s += "\tVISIBLE\tTRUE\t// shown\n";
    }
    s += "\tL\tICON\t\"icon" + std::to_string(n) + ".bmp\"\n";
    s += "\tL\tICONANIME\t\"anime" + std::to_string(n) + ".bmp\"\n";
    s += "\tTOOLHINT\tALL:-1\t\"%s\"\n";
    s += "END\n\n";
    return s;
}

std::string Description() {
    std::string s = "// bench screen\nBG\n\tNAME\t\"BG\"\n\tBMP\t\"bg.bmp\"\nEND\n\n";
    s += "SE\tDEVICEMOUSEOVER\t\"over.wav\"\nSE\tDEVICECLICK\t\"click.wav\"\n";
    s += "COLOR\tNORMAL\t255,255,255\nCOLOR\tSELECT\t0,255,255\nCOLOR\tGRAY\t128,128,128\n";
    s += "PROGRAMMARGIN\t180\n\n";
    const char* kinds[] = {"DEVICE",
                           "SLOTBUTTON",
                           "CALENDARSCROLLBUTTON",
                           "TRASH",
                           "CHANGE",
                           "NEWMAKE",
                           "GOTODAYBUTTON",
                           "DRAGINGITEMFRAME",
                           "CALENDARBALLOONHELP",
                           "CALENDAR",
                           "TOP"};
    int n = 0;
    for (; n < 20; ++n) s += Section("DEVICE", n);
    for (; n < 28; ++n) s += Section("SLOTBUTTON", n);
    s += "SLOTBUTTON_ALL\tTOOLHINT\t\"Slot %d\"\t\"Slot %d %s\"\n";
    for (; n < 59; ++n) s += Section(kinds[n % 11], n);
    return s;
}

struct Files {
    std::string ini = Folder() + "TARVIK.INI";
    std::string pictures = Folder();
    Files() {
        WriteFile(ini, Description());
        using quillon::platform::WriteBmpOf;
        WriteBmpOf((pictures + "bg.bmp").c_str(), 64, 64, [](int x, int y) {
            return static_cast<COLORREF>((x * 3 + y * 192) * 7 & 0xFFFFFF);
        });
        // Every picture the sections name: a missing one would put up a box
        // and time the error path.
        for (int n = 0; n < 59; ++n)
            for (const char* name : {"icon", "anime"})
                WriteBmpOf((pictures + name + std::to_string(n) + ".bmp").c_str(), 48, 48,
                           [](int x, int y) { return (x + y) % 4 ? RGB(255, 255, 255) : 0; });
    }
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

void Screen_Baseline_ReadLines(benchmark::State& state) {
    const Files& files = TheFiles();
    std::int64_t lines = 0;
    for (auto _ : state) {
        CIniFile ini;
        ini.Open(files.ini.c_str(), CFile::modeRead | CFile::typeText);
        CStringArray tokens;
        while (ini.ReadTokenLine(&tokens)) ++lines;
        benchmark::DoNotOptimize(tokens);
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}
BENCHMARK(Screen_Baseline_ReadLines)->Unit(benchmark::kMicrosecond);

void Screen_Construct60Sections(benchmark::State& state) {
    const Files& files = TheFiles();
    quillon::testing::Harness h;
    CWnd* parent = h.CreateParent(kWidth + 16, kHeight + 16);
    CString ini(files.ini.c_str());
    CString pictures(files.pictures.c_str());
    for (auto _ : state) {
        auto* screen =
            new CQMainScreen("QuillonBench", parent, CRect(0, 0, kWidth, kHeight), &ini, &pictures);
        benchmark::DoNotOptimize(screen->GetpCWnd());
        delete screen;
    }
    if (!h.MessageBoxes().empty()) state.SkipWithError("the description did not read cleanly");
}
BENCHMARK(Screen_Construct60Sections)->Unit(benchmark::kMicrosecond);

// What the user waits for: the screen built and painted once.
void Screen_Construct60SectionsAndPaint(benchmark::State& state) {
    const Files& files = TheFiles();
    quillon::testing::Harness h;
    CWnd* parent = h.CreateParent(kWidth + 16, kHeight + 16);
    CString ini(files.ini.c_str());
    CString pictures(files.pictures.c_str());
    for (auto _ : state) {
        auto* screen =
            new CQMainScreen("QuillonBench", parent, CRect(0, 0, kWidth, kHeight), &ini, &pictures);
        h.AdvanceMs(0);
        delete screen;
    }
}
BENCHMARK(Screen_Construct60SectionsAndPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
