// Tool tips: rectangles of owner windows with a text each. The text shows
// once the pointer has rested on a tool for 500 ms (100 ms when it moves
// straight from a shown tip to another tool) and hides when the pointer
// moves off the tool, when a button is pressed on it (until the pointer
// goes to another tool), when the tool is removed or its text emptied, and
// when the control is deactivated or the window system loses the focus. The
// control sees the pointer only through RelayEvent; leaving the owner window
// is noticed by the platform. The platform draws the tip (DrawToolTip); the
// backend only shows the picture.
#pragma once

#include <vector>

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Window.h>

#include "platform/gdi/Bitmap.h"

class CToolTipCtrl : public CWnd {
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // A hidden window of its own; active from the start.
    virtual BOOL Create(CWnd* parent, DWORD style = 0);
    void Activate(BOOL activate);
    // A rectangle of the owner's client area (null: the whole client area).
    // An existing (owner, id) is replaced. FALSE without an owner window.
    BOOL AddTool(CWnd* owner, LPCSTR text, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* owner, UINT_PTR id = 0);
    void SetToolRect(CWnd* owner, UINT_PTR id, LPCRECT rect);
    void UpdateTipText(LPCSTR text, CWnd* owner, UINT_PTR id = 0);
    // Mouse moves, button presses and releases, wheel and keys of the
    // owner windows, as the message loop is about to dispatch them.
    void RelayEvent(LPMSG msg);
    int GetToolCount() const;
    // Hides the tip now.
    void Pop();

    // TTM_ACTIVATE (wParam), TTM_RELAYEVENT (lParam: the MSG*), TTM_POP and
    // TTM_GETTOOLCOUNT also come as messages.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The platform tells every control where the pointer went, which
    // windows go away and when the window system lost the focus.
    void PointerMoved();
    void ForgetOwner(CWnd* owner);
    void FocusLost();

private:
    struct Tool {
        CWnd* owner;
        UINT_PTR id;
        CString text;
        CRect rect;  // owner's client coordinates
        bool wholeClient;
    };
    int FindTool(CWnd* owner, UINT_PTR id) const;
    int ToolAt(CWnd* wnd, POINT client) const;
    bool PointerOnTool(int index) const;
    void Show();
    void Hide();
    void StartRest(UINT ms);
    void StopRest();
    void SetHot(int index);

    std::vector<Tool> m_tools;
    bool m_active = true;
    bool m_restTimer = false;
    bool m_shown = false;
    bool m_suppressed = false;  // a press hid the tip of the hot tool
    int m_hot = -1;             // the tool under the pointer
    POINT m_lastPoint{-1, -1};  // screen, last relayed move
};

namespace quillon {
namespace platform {

// The tip's look: the text (Shift-JIS, lines broken at '\n') in the default
// font, black on the information background, inside a one-pixel dark frame
// with a few pixels of room. A 32-bit picture the caller deletes; null for
// an empty text or one too large for any picture.
HBITMAP DrawToolTip(const CString& text);

}  // namespace platform
}  // namespace quillon
