// Keeps one message handler of the host window from running inside another:
// a host callback may run a modal loop that dispatches further messages to
// the window, and those must not reach the items while the first one is
// still being handled.
#pragma once

class CThreadWait {
public:
    // Only id 0 is in use; any other id shows an error and takes nothing.
    explicit CThreadWait(int id);
    ~CThreadWait();
    CThreadWait(const CThreadWait&) = delete;
    CThreadWait& operator=(const CThreadWait&) = delete;

    static bool IsBusy(int id);

    static constexpr int kFlags = 16;

private:
    int m_nId;
    bool m_bHeld = false;
};
