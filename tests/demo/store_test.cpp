// The demo host's store: what it keeps comes back, and a file it cannot
// read is set aside, never overwritten.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "demo/DemoHost.h"
#include "support/picture_files.h"

namespace {

namespace fs = std::filesystem;

CQProg Prog(int slot, int kind, std::int32_t begin, int weekly) {
    CQProg p;
    p.SetSlotNo(slot);
    p.SetKind(kind);
    p.SetWeekly(weekly);
    p.SetTime(CTime(begin), CTime(begin + 1800));
    return p;
}

TEST(DemoStore, KeepsReservationsAndLogsAndSetsAsideWhatItCannotRead) {
    picturetest::TempDir dir;
    demo::Store store(dir.Path("sub/schedule.txt"));
    std::vector<CQProg> progs, gotProgs;
    std::vector<CQProgLog> logs, gotLogs;
    std::string why;
    // Nothing kept yet: empty, and no error.
    ASSERT_TRUE(store.Load(&gotProgs, &gotLogs, &why));
    EXPECT_TRUE(gotProgs.empty() && gotLogs.empty());

    progs = {Prog(1, 0, 1796000000, 0), Prog(5, 3, 1796100000, 0x41)};
    progs[1].m_bNKXMail = true;
    CQProgLog log;
    static_cast<CQProg&>(log) = Prog(2, 2, 1795000000, 0);
    log.m_nLogState = 1;
    log.SetLogTime(CTimeRect(CTime(1795000060), CTime(1795001800)));
    logs = {log};
    ASSERT_TRUE(store.Save(progs, logs, &why)) << why;
    EXPECT_FALSE(fs::exists(store.Path() + ".tmp"));
    ASSERT_TRUE(store.Load(&gotProgs, &gotLogs, &why));
    ASSERT_EQ(gotProgs.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        // The slot and both times of day, then what the text leaves out.
        EXPECT_EQ(gotProgs[i].GetStr().str(), progs[i].GetStr().str());
        EXPECT_EQ(gotProgs[i].GetKind(), progs[i].GetKind());
        EXPECT_EQ(gotProgs[i].GetWeekly(), progs[i].GetWeekly());
        EXPECT_EQ(gotProgs[i].IsNKXMail(), progs[i].IsNKXMail());
    }
    ASSERT_EQ(gotLogs.size(), 1u);
    CTime b, e;
    gotLogs[0].GetLogTime(&b, &e);
    EXPECT_EQ(gotLogs[0].GetLogState(), 1);
    EXPECT_EQ(b.GetTime(), 1795000060);
    EXPECT_EQ(e.GetTime(), 1795001800);

    // A damaged file: reported, kept aside byte for byte, and the next save
    // writes a new file beside it.
    const std::string damaged = "quillon-demo 1\nP 1 0 0 0 17960\nP 2 9 x\n";
    std::ofstream(store.Path(), std::ios::trunc) << damaged;
    EXPECT_FALSE(store.Load(&gotProgs, &gotLogs, &why));
    EXPECT_TRUE(gotProgs.empty() && gotLogs.empty());
    EXPECT_NE(why.find("line 2"), std::string::npos) << why;
    EXPECT_FALSE(fs::exists(store.Path()));
    std::string aside;
    for (const auto& entry : fs::directory_iterator(dir.Path("sub")))
        if (entry.path().string().find(".bad-") != std::string::npos) aside = entry.path().string();
    ASSERT_FALSE(aside.empty());
    EXPECT_EQ(picturetest::ReadAll(aside), picturetest::Bytes(damaged.begin(), damaged.end()));
    ASSERT_TRUE(store.Save(progs, logs, &why));
    EXPECT_TRUE(store.Load(&gotProgs, &gotLogs, &why));

    // A folder that cannot be written says why.
    demo::Store nowhere("/proc/quillon-demo/schedule.txt");
    EXPECT_FALSE(nowhere.Save(progs, logs, &why));
    EXPECT_FALSE(why.empty());
}

}  // namespace
