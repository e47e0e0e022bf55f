#include "frame/ThreadWait.h"

#include <mutex>
#include <thread>

#include <quillon/platform/Messages.h>

#include "platform/Backend.h"

namespace {

// The flags are process-wide. The owner of a set flag is remembered so that
// a guard taken again on the thread that holds it does not wait for itself
// (it would sleep for ever): it passes without taking the flag.
struct Table {
    std::mutex lock;
    bool busy[CThreadWait::kFlags] = {};
    std::thread::id owner[CThreadWait::kFlags];
};

Table& Flags() {
    static Table table;
    return table;
}

}  // namespace

CThreadWait::CThreadWait(int id) : m_nId(id) {
    if (id != 0) {
        quillon::platform::CurrentBackend().MessageBox(nullptr, "CThreadWait Illegal ID", "Errro",
                                                       MB_OK);
        return;
    }
    Table& t = Flags();
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(t.lock);
            if (!t.busy[id]) {
                t.busy[id] = true;
                t.owner[id] = std::this_thread::get_id();
                m_bHeld = true;
                return;
            }
            if (t.owner[id] == std::this_thread::get_id()) return;
        }
        Sleep(100);
    }
}

CThreadWait::~CThreadWait() {
    if (!m_bHeld) return;
    Table& t = Flags();
    std::lock_guard<std::mutex> guard(t.lock);
    t.busy[m_nId] = false;
    t.owner[m_nId] = std::thread::id();
}

bool CThreadWait::IsBusy(int id) {
    if (id < 0 || id >= kFlags) return false;
    Table& t = Flags();
    std::lock_guard<std::mutex> guard(t.lock);
    return t.busy[id];
}
