// The demo on the default skin in a real window: a reservation made by
// dragging MD onto the calendar, a tool tip, a reservation deleted with
// Delete and a confirming Enter, the reservations found again after a
// restart, and a damaged data file set aside.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "e2e/x11_session.h"
#include "support/picture_files.h"

namespace {

using namespace x11test;
namespace fs = std::filesystem;

struct Point {
    int x = -1, y = -1;
};

class DemoWindow : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped()) return;
        // Where the TIMER view's items are today, from the demo itself.
        std::istringstream lines(
            X11(std::string("env -u DISPLAY ") + QUILLON_E2E_DEMO + " --layout"));
        std::string line;
        while (std::getline(lines, line)) {
            auto last = line.rfind(' ');
            auto before = line.rfind(' ', last - 1);
            if (before == std::string::npos) continue;
            m_layout[line.substr(0, before)] =
                Point{std::atoi(line.c_str() + before + 1), std::atoi(line.c_str() + last + 1)};
        }
    }
    std::unique_ptr<Child> Start() {
        return Launch({QUILLON_E2E_DEMO, "--data", m_data.Path("")}, 1, "loaded", "Quillon",
                      &m_loaded);
    }
    std::string At(Point p) const {
        return std::to_string(m_window.x + p.x) + " " + std::to_string(m_window.y + p.y);
    }
    void Drag(Point from, Point to) {
        X11("xdotool mousemove " + At(from) + " mousedown 1");
        for (int i = 1; i <= 10; ++i)
            X11("xdotool mousemove " +
                At(Point{from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10}));
        Sleep(200);
        X11("xdotool mouseup 1");
    }

    picturetest::TempDir m_data;
    std::map<std::string, Point> m_layout;
    std::string m_loaded;
};

TEST_F(DemoWindow, ReservesByDragDeletesWithDeleteAndKeepsWhatRemains) {
    Point md = m_layout["MD"], cd = m_layout["CD/DVD"];
    Point tomorrow = m_layout["at 1 15:00"], later = m_layout["at 2 10:00"];
    ASSERT_TRUE(md.x >= 0 && cd.x >= 0 && tomorrow.x >= 0 && later.x >= 0)
        << "the layout has no MD, CD/DVD or calendar rows";
    auto demo = Start();
    EXPECT_EQ(m_loaded, "loaded 0 reservations, 0 logs");
    X11("xdotool mousemove " + At(Point{5, 5}) + " key 3");  // the TIMER view
    Sleep(400);
    Shot before = Window("demo-timer");

    // MD onto tomorrow afternoon: a reservation, and a bar where it landed.
    Drag(md, tomorrow);
    std::string reserved = demo->LineStarting("reserved");
    EXPECT_EQ(reserved.rfind("reserved 1 MD ", 0), 0u) << reserved;
    Sleep(300);
    X11("xdotool mousemove " + At(Point{5, 5}));
    Sleep(300);
    Shot after = Window("demo-reserved");
    int changed = 0;
    for (int y = tomorrow.y - 6; y <= tomorrow.y + 6; ++y)
        for (int x = tomorrow.x; x < tomorrow.x + 20; ++x)
            if (before.At(x, y) != after.At(x, y)) ++changed;
    EXPECT_GT(changed, 60) << "no bar where MD was dropped";
    Drag(cd, later);
    EXPECT_EQ(demo->LineStarting("reserved").rfind("reserved 2 CD/DVD ", 0), 0u);

    // Resting on a device shows its tip.
    X11("xdotool mousemove " + At(md));
    Sleep(1500);
    EXPECT_GT(Window("demo-tooltip").Count(0xFFFFE1u), 100) << "no tool tip";

    // The first reservation selected on its bar, Delete, and Enter confirms.
    X11("xdotool mousemove " + At(Point{tomorrow.x + 4, tomorrow.y}) + " click 1");
    Sleep(300);
    X11("xdotool key Delete");
    Sleep(600);
    EXPECT_GT(Window("demo-delete-box").Count(0x000080u), 500) << "no confirming box";
    X11("xdotool key Return");
    EXPECT_EQ(demo->LineStarting("deleted"), "deleted 1");
    Sleep(1500);  // saved at the next tick
    Stop(demo);

    // A restart finds the one that remains.
    demo = Start();
    EXPECT_EQ(m_loaded, "loaded 1 reservations, 0 logs");
    Stop(demo);

    // A damaged file is reported in a box, kept aside and not overwritten.
    const std::string path = m_data.Path("schedule.txt");
    std::ofstream(path, std::ios::trunc) << "quillon-demo 1\nP nonsense\n";
    demo = Start();
    EXPECT_EQ(m_loaded, "loaded 0 reservations, 0 logs");
    EXPECT_EQ(demo->LineStarting("set aside").rfind("set aside: " + path, 0), 0u);
    Sleep(600);
    EXPECT_GT(Window("demo-damaged-box").Count(0x000080u), 500) << "no box tells of it";
    X11("xdotool key Return");
    int aside = 0;
    for (const auto& entry : fs::directory_iterator(m_data.Path("")))
        if (entry.path().string().find(".bad-") != std::string::npos) ++aside;
    EXPECT_EQ(aside, 1);
    Stop(demo);
}

}  // namespace
