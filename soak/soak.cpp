// quillon-soak: the default skin in the headless backend under random input
// for a long while, the fake clock running through two weeks. After every
// event the program table must hold: one program a slot at most, every
// program proper, no two breaking the overlap rule with the margin, and the
// selection naming a stored program or none. Memory must not grow after the
// first minute beyond what the logs added since then hold.
//   quillon-soak [--skin DIR] [--events N] [--seed S]
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <quillon/testing.h>

#include "demo/DemoHost.h"
#include "demo/SkinSize.h"
#include "frame/Item.h"
#include "frame/QItem.h"
#include "frame/QMainScreenInternal.h"
#include "schedule/Rules.h"

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own count of live heap bytes (its quarantine aside).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

const char* const kDevices[] = {"CD/DVD",     "MD",      "FM TUNER", "NKX",
                                "SOUND CHIP", "SPEAKER", "OPT IN",   "OPT OUT"};

struct Soak {
    quillon::testing::Harness& h;
    demo::DemoScreen& screen;
    std::mt19937 rng;
    CSize size;
    std::map<std::string, CPoint> targets;  // visible items by name, this view

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    CPoint Anywhere() { return CPoint(Uniform(0, size.cx - 1), Uniform(0, size.cy - 1)); }
    CPoint Target() {
        if (targets.empty()) return Anywhere();
        auto it = targets.begin();
        std::advance(it, Uniform(0, static_cast<int>(targets.size()) - 1));
        return it->second;
    }
    // A point of the week the calendar shows, or anywhere without one.
    CPoint OnCalendar() {
        CTime now = h.Now();
        CTime t(now.GetYear(), now.GetMonth(), now.GetDay() + Uniform(-1, 7), Uniform(0, 23),
                Uniform(0, 59), 0);
        CPoint p = h.CalendarPoint(screen, t);
        return p.x >= 0 ? p : Anywhere();
    }
    // Somewhere on a stored program's bar, when one is shown.
    CPoint OnABar() {
        const auto& progs = CQMainScreenInternal::GetProgTable(screen);
        if (progs.GetSize() == 0) return OnCalendar();
        CQProg p = progs[Uniform(0, progs.GetSize() - 1)];
        CTimeRect r = p.GetTime();
        CTime t(r.GetBegin().GetTime() + (r.GetEnd() - r.GetBegin()).GetTotalSeconds() / 2);
        CPoint at = h.CalendarPoint(screen, t);
        return at.x >= 0 ? at : OnCalendar();
    }
    void Drag(CPoint from, CPoint to) {
        h.LButtonDown(from.x, from.y);
        const int steps = Uniform(2, 8);
        for (int i = 1; i <= steps; ++i)
            h.MouseMove(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps,
                        MK_LBUTTON);
        h.LButtonUp(to.x, to.y);
    }
    void Click(CPoint p) {
        h.LButtonDown(p.x, p.y);
        h.LButtonUp(p.x, p.y);
    }
    void FindTargets() {
        targets.clear();
        CTypedPtrArray<CPtrArray, CQItem*> items;
        screen.GetTblpCQItem(&items);
        for (int i = 0; i < items.GetSize(); ++i) {
            CQItem* item = items[i];
            if (item->GetOwner() == nullptr || !item->GetOwner()->IsVisible()) continue;
            std::string name = static_cast<const char*>(item->GetName());
            CPoint p = h.ItemCenter(screen, name.c_str());
            if (p.x >= 0) targets[name] = p;
        }
    }
    // One of the host's calls, with random arguments.
    void HostCall() {
        const char* device = kDevices[Uniform(0, 7)];
        const std::function<void()> calls[] = {
            [&] { screen.SetStateCDDVD(Uniform(-1, 6)); },
            [&] { screen.SetStateMD(Uniform(-1, 7)); },
            [&] { screen.SetStateFM(Uniform(-1, 2)); },
            [&] { screen.SetStateNKX(Uniform(-1, 2), "soak"); },
            [&] { screen.SetStateSOUND(Uniform(-1, 2)); },
            [&] { screen.SetStateSpeaker(Uniform(-1, 5)); },
            [&] { screen.SetStateSpeakerMute(Uniform(0, 1) != 0); },
            [&] { screen.SetStateDubbing(device, kDevices[Uniform(0, 7)]); },
            [&] { screen.SetStateDubbingEnd(); },
            [&] { screen.SetStateConnect(device, kDevices[Uniform(0, 7)]); },
            [&] { screen.DeleteAllConnect(); },
            [&] { screen.SetProgDefaultTime(device, CTimeSpan(Uniform(1, 240) * 60)); }};
        calls[Uniform(0, 11)]();
    }
    void AddLog() {
        CQProgLog log;
        CTime now = h.Now();
        CTime begin(now.GetTime() - Uniform(0, 3 * 86400));
        CTime end(begin.GetTime() + Uniform(60, 4 * 3600));
        log.SetSlotNo(Uniform(1, 8));
        log.SetKind(Uniform(0, 2));
        log.SetTime(begin, end);
        log.m_nLogState = Uniform(-1, 1);
        log.SetLogTime(CTimeRect(begin, end));
        screen.AddLog(log);
    }

    // What must hold after every event; empty when it does.
    std::string Broken() {
        const auto& progs = CQMainScreenInternal::GetProgTable(screen);
        const int margin = screen.GetProgramMargin();
        bool selectionStored = CQMainScreenInternal::GetSelectSlot(screen) == -1;
        for (int i = 0; i < progs.GetSize(); ++i) {
            const CQProg& a = progs[i];
            if (!a.IsProper()) return "slot " + std::to_string(a.GetSlotNo()) + " is not proper";
            if (a.GetSlotNo() == CQMainScreenInternal::GetSelectSlot(screen))
                selectionStored = true;
            for (int j = i + 1; j < progs.GetSize(); ++j) {
                const CQProg& b = progs[j];
                if (a.GetSlotNo() == b.GetSlotNo())
                    return "slot " + std::to_string(a.GetSlotNo()) + " holds two programs";
                if (ChkOverlapProgPair(a, b, margin) != 0)
                    return "slots " + std::to_string(a.GetSlotNo()) + " and " +
                           std::to_string(b.GetSlotNo()) + " break the overlap rule";
            }
        }
        if (!selectionStored)
            return "slot " + std::to_string(CQMainScreenInternal::GetSelectSlot(screen)) +
                   " is selected without a program";
        return {};
    }
};

int Usage() {
    std::fputs("usage: quillon-soak [--skin DIR] [--events N] [--seed S]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string skin = QUILLON_DEMO_SKIN;
    long events = 200000;
    unsigned seed = 20261207;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (i + 1 >= argc) return Usage();
        if (a == "--skin")
            skin = argv[++i];
        else if (a == "--events")
            events = std::atol(argv[++i]);
        else if (a == "--seed")
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else
            return Usage();
    }
    if (!skin.empty() && skin.back() != '/') skin += '/';
    // The host's lines of what it reserved would drown the report.
    if (!std::freopen("/dev/null", "w", stdout)) return 1;

    char dataDir[] = "/tmp/quillon-soak-XXXXXX";
    if (!mkdtemp(dataDir)) return 1;
    const std::string storePath = std::string(dataDir) + "/schedule.txt";
    int rc = 0;
    {
        quillon::testing::Harness h;
        h.SetTimeZone("Asia/Tokyo");
        const CTime start(2026, 12, 7, 9, 0, 0);
        h.SetNow(start);
        const CSize size = demo::SkinSize(skin);
        CWnd* parent = h.CreateParent(size.cx, size.cy);
        if (!parent) return 1;
        demo::Store store(storePath);
        demo::DemoScreen screen(parent, CRect(0, 0, size.cx, size.cy),
                                CString((skin + "TARVIK.INI").c_str()), CString(skin.c_str()),
                                &store);
        if (!h.MessageBoxes().empty()) {
            std::fprintf(stderr, "quillon-soak: the skin raised %zu boxes, first: %s\n",
                         h.MessageBoxes().size(), h.MessageBoxes()[0].text.c_str());
            return 1;
        }
        Soak s{h, screen, std::mt19937(seed), size, {}};
        screen.SetViewMode(2);
        s.FindTargets();

        const long long twoWeeksMs = 14LL * 86400 * 1000;
        const long long stepMs = twoWeeksMs / events;
        long logsAdded = 0, progsMax = 0, made = 0, deleted = 0;
        // The event mix: each kind of event, its name in the report and its weight.
        const struct {
            const char* name;
            int weight;
            std::function<void()> run;
        } kinds[] = {{"move", 24,
                      [&] {
                          const CPoint p = s.Uniform(0, 1) ? s.Target() : s.Anywhere();
                          h.MouseMove(p.x, p.y);
                      }},
                     {"click", 14, [&] { s.Click(s.Uniform(0, 2) ? s.Target() : s.OnABar()); }},
                     {"double click", 3,
                      [&] {
                          const CPoint p = s.Uniform(0, 1) ? s.Target() : s.OnABar();
                          s.Click(p);
                          h.LButtonDblClk(p.x, p.y);
                          h.LButtonUp(p.x, p.y);
                      }},
                     {"right click", 3,
                      [&] {
                          const CPoint p = s.OnABar();
                          h.RButtonDown(p.x, p.y);
                          h.RButtonUp(p.x, p.y);
                      }},
                     {"device drag", 14,
                      [&] {
                          CPoint from = h.ItemCenter(screen, kDevices[s.Uniform(0, 7)]);
                          if (from.x < 0) from = s.Target();
                          s.Drag(from, s.Uniform(0, 3) ? s.OnCalendar() : s.Target());
                      }},
                     {"bar drag", 14,
                      [&] {
                          const CPoint from = s.OnABar();
                          CPoint to = s.Uniform(0, 3) ? s.OnCalendar() : s.Target();
                          // Along its row at times, as a move or stretch.
                          if (s.Uniform(0, 1)) to.y = from.y;
                          s.Drag(from, to);
                      }},
                     {"wheel", 6, [&] { h.Wheel(s.Uniform(0, 1) ? 120 : -120); }},
                     {"Delete", 4, [&] { h.KeyDown(VK_DELETE); }},
                     {"view", 3,
                      [&] {
                          screen.SetViewMode(s.Uniform(0, 2));
                          s.FindTargets();
                      }},
                     {"host call", 10, [&] { s.HostCall(); }},
                     {"log", 5, [&] {
                          s.AddLog();
                          ++logsAdded;
                      }}};
        std::vector<int> weights;
        for (const auto& k : kinds) weights.push_back(k.weight);
        std::discrete_distribution<int> pick(weights.begin(), weights.end());
        std::vector<long> counts(weights.size());
        std::size_t heapAtMinute = 0, heapMax = 0;
        // What the run keeps on purpose, at the first minute: the screen's
        // logs, and the harness's records of boxes and sounds.
        std::size_t keptAtMinute[3] = {};
        auto kept = [&](std::size_t out[3]) {
            out[0] = static_cast<std::size_t>(CQMainScreenInternal::GetLogTable(screen).GetSize());
            out[1] = h.MessageBoxes().size();
            out[2] = h.Sounds().size();
        };
        long minuteEvent = -1;
        const auto began = std::chrono::steady_clock::now();
        auto seconds = [&] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        };
        std::string broken;
        int last = 0;
        long e = 0;
        for (; e < events && broken.empty(); ++e) {
            const int before = CQMainScreenInternal::GetProgTable(screen).GetSize();
            last = pick(s.rng);
            ++counts[static_cast<std::size_t>(last)];
            h.SetMessageBoxAnswer(s.Uniform(0, 1) ? IDOK : IDCANCEL);
            kinds[last].run();
            // The clock runs: timers and paints for a moment, then the wall
            // clock on to its share of two weeks; the host's once-a-second work.
            h.AdvanceMs(static_cast<std::uint32_t>(s.Uniform(0, 150)));
            h.SetNow(CTime(h.Now().GetTime() + stepMs / 1000));
            if (e % 8 == 0) screen.Tick();
            const int after = CQMainScreenInternal::GetProgTable(screen).GetSize();
            if (after > before) made += after - before;
            if (after < before) deleted += before - after;
            if (after > progsMax) progsMax = after;
            broken = s.Broken();
            const std::size_t heap = HeapInUse();
            if (minuteEvent < 0 && seconds() >= 60) {
                minuteEvent = e;
                heapAtMinute = heap;
                kept(keptAtMinute);
            }
            if ((e + 1) % 20000 == 0)
                std::fprintf(stderr, "quillon-soak: %ld events, %.0f s\n", e + 1, seconds());
            if (minuteEvent >= 0 && heap > heapMax) heapMax = heap;
        }
        std::fprintf(stderr, "quillon-soak: %ld events in %.0f s (seed %u), clock %s to %s\n", e,
                     seconds(), seed, static_cast<const char*>(start.Format("%Y-%m-%d")),
                     static_cast<const char*>(h.Now().Format("%Y-%m-%d")));
        for (std::size_t k = 0; k < counts.size(); ++k)
            std::fprintf(stderr, "  %-12s %ld\n", kinds[k].name, counts[k]);
        std::fprintf(stderr,
                     "  programs: %ld added, %ld removed, at most %ld at once, %d at the end\n"
                     "  logs added: %ld; message boxes: %zu\n",
                     made, deleted, progsMax, CQMainScreenInternal::GetProgTable(screen).GetSize(),
                     logsAdded, h.MessageBoxes().size());
        if (!broken.empty()) {
            std::fprintf(stderr, "quillon-soak: after event %ld (%s): %s\n", e - 1,
                         kinds[last].name, broken.c_str());
            rc = 1;
        }
        if (minuteEvent >= 0) {
            // What was kept since the first minute may take, generously: a
            // log in the screen's table (grown by doubling), the host's copy
            // and a day row's entry; a box's texts; a sound's name.
            std::size_t since[3];
            kept(since);
            for (int i = 0; i < 3; ++i) since[i] -= keptAtMinute[i];
            const std::size_t allowed =
                since[0] * 4 * sizeof(CQProgLog) + since[1] * 512 + since[2] * 256 + (1u << 20);
            std::fprintf(stderr,
                         "  kept since then: %zu logs in the screen's table, %zu boxes and %zu "
                         "sounds recorded\n",
                         since[0], since[1], since[2]);
            const std::size_t growth = heapMax > heapAtMinute ? heapMax - heapAtMinute : 0;
            std::fprintf(stderr,
                         "  heap in use: %zu bytes after the first minute (event %ld), at most "
                         "%zu after it: %zu grown, %zu allowed\n",
                         heapAtMinute, minuteEvent, heapMax, growth, allowed);
            if (growth > allowed) {
                std::fputs("quillon-soak: memory grows\n", stderr);
                rc = 1;
            }
        } else {
            std::fputs("  (shorter than a minute: memory growth not judged)\n", stderr);
        }
    }
    std::remove(storePath.c_str());
    rmdir(dataDir);
    if (rc == 0) std::fputs("quillon-soak: every invariant held\n", stderr);
    return rc;
}
