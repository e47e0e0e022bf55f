// The backend without a display: each top-level window is a picture in
// memory that presents copy into (when it is looked at: nobody sees it
// before), and the cursor, the tool tip (its text and its picture), sounds
// and message boxes are recorded. Input is scripted
// (PostInput). Message boxes are printed on stderr, or recorded and answered
// when asked to. Waits pass on the platform clock: a test clock moves.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/BackendCalls.h"

namespace quillon {
namespace platform {

class HeadlessBackend : public Backend {
public:
    struct Box {
        std::string text;
        std::string caption;
        UINT type = 0;
    };
    struct Picture {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> bgrx;  // top row first; blue in the low byte
    };

    // `record`: keep message boxes (and answer them) instead of printing.
    explicit HeadlessBackend(bool record) : m_record(record) {}

    // The box's modal loop dispatches what is waiting in the queue, then the
    // box hook runs (as if the user acted while the box is up), then the box
    // closes with the set answer (IDOK unless told otherwise).
    int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) override;
    int CreateWindow(const CString& title, int width, int height) override;
    void DestroyWindow(int id) override;
    void Present(int id, const FramePicture& picture, const RECT& dirty) override;
    // Sleeps the timeout on the platform clock; waiting for ever is false:
    // no input comes but what is scripted.
    bool WaitEvents(DWORD timeoutMs) override;
    void SetCursor(int cursorId) override { m_cursor = cursorId; }
    void ShowToolTip(int id, const ToolTipPicture& tip) override;
    void HideToolTip() override;
    // Records the path (the default sound as an empty one).
    bool PlaySound(const CString& path, bool loop) override;
    void StopSound() override {}

    const Picture* WindowPicture(int id) const;
    int CursorId() const { return m_cursor; }
    const std::string& ToolTipText() const { return m_tipText; }
    POINT ToolTipPoint() const { return m_tipAt; }
    int ToolTipWindow() const { return m_tipWindow; }
    // The picture of the tip showing; null when none shows.
    const Picture* TipPicture() const { return m_tipWindow != 0 ? &m_tipPicture : nullptr; }
    const std::vector<std::string>& Sounds() const { return m_sounds; }
    const std::vector<Box>& Boxes() const { return m_boxes; }
    void SetBoxAnswer(int answer) { m_answer = answer; }
    void SetBoxHook(std::function<void(const std::string&, const std::string&)> hook) {
        m_hook = std::move(hook);
    }

private:
    bool m_record;
    int m_nextId = 1;
    // What was presented and not yet copied: the window system's picture
    // lives until the window goes, which forgets this first.
    struct Pending {
        const FramePicture* from = nullptr;
        CRect dirty;
    };
    mutable std::map<int, Picture> m_windows;
    mutable std::map<int, Pending> m_pending;
    int m_cursor = 32512;
    std::string m_tipText;
    POINT m_tipAt{0, 0};
    int m_tipWindow = 0;
    Picture m_tipPicture;
    std::vector<std::string> m_sounds;
    std::vector<Box> m_boxes;
    int m_answer = IDOK;
    std::function<void(const std::string&, const std::string&)> m_hook;
};

}  // namespace platform
}  // namespace quillon
