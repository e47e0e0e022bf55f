// The message queue: posted messages first (first in, first out), then
// WM_QUIT, then input, then WM_PAINT for a window with an update area, then
// WM_TIMER for a due timer; send, peek, get, translate and dispatch, and the
// place where the loop idles.
#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <string>

#include <quillon/platform/CTime.h>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/WindowSystemState.h"

namespace quillon {
namespace platform {
namespace {

bool PeekPaint(MSG* msg, HWND hwnd, UINT lo, UINT hi) {
    if (!MatchFilter(WM_PAINT, lo, hi)) return false;
    WindowSystemState& s = State();
    for (CWnd* w : s.windows) {
        if (hwnd && w != hwnd) continue;
        const WindowData* d = D(w);
        if (d->update.IsRectEmpty() || !Visible(w)) continue;
        *msg = MSG{w, WM_PAINT, 0, 0, timeGetTime(), s.pointer.screen};
        return true;
    }
    return false;
}

bool PeekTimer(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
    if (!MatchFilter(WM_TIMER, lo, hi)) return false;
    WindowSystemState& s = State();
    DWORD now = timeGetTime();
    for (CWnd* w : s.windows) {
        if (hwnd && w != hwnd) continue;
        WindowData* d = D(w);
        for (TimerRecord& timer : d->timers) {
            if (!TimeReached(now, timer.due)) continue;
            *msg = MSG{w,   WM_TIMER,        timer.id, reinterpret_cast<LPARAM>(timer.proc),
                       now, s.pointer.screen};
            // A late timer fires once and keeps its phase.
            if (remove & PM_REMOVE)
                while (TimeReached(now, timer.due)) timer.due += timer.period;
            return true;
        }
    }
    return false;
}

// Registered message names, by lower-case name.
std::mutex g_registeredLock;
std::map<std::string, UINT>& Registered() {
    static std::map<std::string, UINT> names;
    return names;
}

std::vector<std::string>* g_paintTexts = nullptr;  // the paint being handled, when recorded
bool g_recordPaintTexts = false;

}  // namespace

// How long a wait may last: until the next window timer is due.
DWORD NextTimerDelay() {
    DWORD now = timeGetTime();
    DWORD best = Backend::kWaitForever;
    for (CWnd* w : State().windows)
        for (const TimerRecord& timer : D(w)->timers) {
            DWORD left = TimeReached(now, timer.due) ? 0 : timer.due - now;
            best = std::min(best, left);
        }
    return best;
}

void SetRecordPaintTexts(bool on) {
    g_recordPaintTexts = on;
    g_paintTexts = nullptr;
}

void NotePaintText(const CString& text) {
    if (g_paintTexts != nullptr) g_paintTexts->push_back(text.str());
}

bool PeekQuiet(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
    WindowSystemState& s = State();
    if (!msg) return false;
again:
    for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
        if (hwnd && it->hwnd != hwnd) continue;
        if (!MatchFilter(it->message, lo, hi)) continue;
        *msg = *it;
        if (remove & PM_REMOVE) {
            s.posted.erase(it);
            s.last = *msg;
        }
        return true;
    }
    if (s.quit && !hwnd && MatchFilter(WM_QUIT, lo, hi)) {
        *msg = MSG{nullptr, WM_QUIT,       static_cast<WPARAM>(s.quitCode),
                   0,       timeGetTime(), s.pointer.screen};
        if (remove & PM_REMOVE) s.quit = false;
        return true;
    }
    switch (PeekInput(msg, hwnd, lo, hi, remove)) {
        case InputPeek::Consumed:
            goto again;
        case InputPeek::Found:
            if (remove & PM_REMOVE) s.last = *msg;
            return true;
        case InputPeek::None:
            break;
    }
    if (PeekPaint(msg, hwnd, lo, hi) || PeekTimer(msg, hwnd, lo, hi, remove)) {
        if (remove & PM_REMOVE) s.last = *msg;
        return true;
    }
    return false;
}

void QueueIdle(Idle kind) {
    PresentAll();
    if (kind == Idle::Peek) CurrentClock().Idle();
}

bool PreTranslate(MSG* msg) {
    for (CWnd* w = msg->hwnd; w && IsLive(w); w = D(w)->parent)
        if (w->PreTranslateMessage(msg)) return true;
    return false;
}

}  // namespace platform
}  // namespace quillon

using quillon::platform::State;

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !quillon::platform::IsLive(hwnd)) return FALSE;
    auto& s = State();
    s.posted.push_back(MSG{hwnd, message, wParam, lParam, timeGetTime(), s.pointer.screen});
    return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!quillon::platform::IsLive(hwnd)) return 0;
    return quillon::platform::CallWindowProcFor(hwnd, message, wParam, lParam);
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    using namespace quillon::platform;
    if (PeekQuiet(msg, hwnd, filterMin, filterMax, remove)) return TRUE;
    QueueIdle(Idle::Peek);
    return FALSE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    using namespace quillon::platform;
    if (!msg) return -1;
    for (;;) {
        if (PeekQuiet(msg, hwnd, filterMin, filterMax, PM_REMOVE))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        QueueIdle(Idle::Settled);
        if (!CurrentBackend().WaitEvents(NextTimerDelay())) return -1;
    }
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    UINT vk = static_cast<UINT>(msg->wParam);
    int ch = 0;
    if (vk >= 'A' && vk <= 'Z') {
        bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        ch = static_cast<int>(shift ? vk : vk - 'A' + 'a');
    } else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE || vk == VK_RETURN || vk == VK_BACK ||
               vk == VK_TAB || vk == VK_ESCAPE) {
        ch = static_cast<int>(vk);
    }
    if (ch == 0) return FALSE;
    return PostMessage(msg->hwnd, WM_CHAR, static_cast<WPARAM>(ch), msg->lParam);
}

LRESULT DispatchMessage(const MSG* msg) {
    using namespace quillon::platform;
    if (!msg || !msg->hwnd || !IsLive(msg->hwnd)) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, timeGetTime());
        return 0;
    }
    if (msg->message != WM_PAINT)
        return CallWindowProcFor(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    CWnd* w = msg->hwnd;
    w->PlatformData()->painted = false;
    // A paint inside a paint (UpdateWindow from a handler) keeps its own list.
    std::vector<std::string> texts;
    std::vector<std::string>* outer = g_paintTexts;
    if (g_recordPaintTexts) g_paintTexts = &texts;
    LRESULT r = CallWindowProcFor(w, WM_PAINT, msg->wParam, msg->lParam);
    if (g_recordPaintTexts) {
        g_paintTexts = outer;
        if (IsLive(w)) w->PlatformData()->paintTexts = std::move(texts);
    }
    // A handler that never began a paint would be asked again forever.
    if (IsLive(w) && !w->PlatformData()->painted) w->ValidateRect(nullptr);
    return r;
}

void PostQuitMessage(int exitCode) {
    State().quit = true;
    State().quitCode = exitCode;
}

UINT RegisterWindowMessage(LPCSTR name) {
    using namespace quillon::platform;
    if (!name || !*name) return 0;
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::lock_guard<std::mutex> lock(g_registeredLock);
    auto& names = Registered();
    auto it = names.find(key);
    if (it != names.end()) return it->second;
    if (names.size() >= 0x4000) return 0;  // 0xC000..0xFFFF are all taken
    UINT id = 0xC000 + static_cast<UINT>(names.size());
    names.emplace(key, id);
    return id;
}

DWORD GetMessageTime() {
    return State().last.time;
}

DWORD GetMessagePos() {
    const MSG& last = State().last;
    return static_cast<DWORD>(MAKELPARAM(last.pt.x, last.pt.y));
}

void Sleep(DWORD ms) {
    quillon::platform::CurrentClock().Sleep(ms);
}
