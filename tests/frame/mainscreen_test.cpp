#include <quillon/QMainScreen.h>
#include <quillon/testing.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

using quillon::testing::Harness;

TEST(MainScreenTest, MissingDescriptionLeavesAnEmptyScreen) {
    Harness h;
    CWnd parent;
    CString ini("/nonexistent/dir/TARVIK.INI");
    CQMainScreen screen("QuillonTest", &parent, CRect(0, 0, 640, 480), &ini, nullptr);
    auto boxes = h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File Error /nonexistent/dir/TARVIK.INI");
    EXPECT_EQ(boxes[0].caption, "Error");  // the window system's default caption
    EXPECT_EQ(boxes[0].type, MB_OK);
    EXPECT_EQ(screen.GetpCWnd(), nullptr);
    EXPECT_EQ(screen.GetViewMode(), 0);
    EXPECT_EQ(screen.GetProgramMargin(), 180);
    CTypedPtrArray<CPtrArray, CQItem*> items;
    screen.GetTblpCQItem(&items);
    EXPECT_EQ(items.GetSize(), 0);
    EXPECT_EQ(screen.CQItemName2pCQItem("CD/DVD"), nullptr);
    EXPECT_EQ(screen.GetEmptySlotNo(), -1);
    EXPECT_FALSE(screen.SetProgDefaultTime("CD/DVD", CTimeSpan(600)));
}

TEST(MainScreenTest, DefaultDescriptionPathIsBesideTheExecutable) {
    Harness h;
    // No parent: the box is owned by no window and still shows.
    CQMainScreen screen("QuillonTest", nullptr, CRect(0, 0, 640, 480), nullptr, nullptr);
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    std::string dir(exe, static_cast<std::size_t>(n));
    dir.erase(dir.rfind('/') + 1);
    auto boxes = h.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File Error " + dir + "TARVIK.INI");
}
