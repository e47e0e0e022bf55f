// The host window: the one child window the whole screen lives in. It owns
// the off-screen picture the item tree draws into, the pending paint
// rectangle, the tool hints, the item timers, the mouse capture and hover
// state and the cursor, and turns window messages into item calls.
#pragma once

#include <memory>

#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Messages.h>
#include <quillon/platform/Window.h>

#include "frame/ToolHintCtrl.h"

class CDibPicture;
class CItem;

// The last mouse event the window saw.
struct MouseEventRec {
    BYTE inside;  // 1 after a mouse message, 0 once the pointer has left
    UINT flags;   // MK_* of that message
    int x;        // client coordinates; kNoPosition after leaving
    int y;
    static constexpr int kNoPosition = static_cast<int>(0x80000000u);
};

struct ItemTimer {
    CItem* item;
    int period;       // ms
    int accumulated;  // ms since the last firing
};

class CQMainWnd : public CWnd {
public:
    CQMainWnd();
    // Releases the mouse hook, the picture, the timers and the tool hints,
    // then the window. Items still in the tree forget it.
    ~CQMainWnd() override;
    CQMainWnd(const CQMainWnd&) = delete;
    CQMainWnd& operator=(const CQMainWnd&) = delete;

    // A child window of `parent` at `rect` with the screen drawn by `root`,
    // which gets (0, 0, width, height). FALSE when the window could not be
    // made (the root is attached all the same).
    using CWnd::Create;
    BOOL Create(const char* className, CWnd* parent, const RECT& rect, CItem* root);

    // The id of the message the mouse hook sends when the pointer leaves.
    static UINT GoOutMouseMessage();

    // For the items.
    void AddPendingPaint(const RECT& rect);
    const CRect& GetPendingPaint() const { return m_rcPending; }
    bool SetCaptureItem(CItem* item, bool drag);
    bool ReleaseCaptureItem(CItem* item);
    CItem* GetCaptureItem() const { return m_pCaptureItem; }
    bool IsDragMode() const { return m_bDragMode; }
    CItem* GetHoverItem() const { return m_pHoverItem; }
    void SetItemTimer(CItem* item, int period);
    int GetItemTimer(const CItem* item) const;
    void SetItemCursor(HCURSOR cursor);
    void ResetItemCursor();
    UINT AddTool(const CString& text, const RECT& rect);
    void SetToolActive(UINT id, bool active);
    void SetToolRect(UINT id, const RECT& rect);
    void UpdateToolText(UINT id, const CString& text);
    void RemoveTool(UINT id);
    CToolHintCtrl& GetToolHint() { return m_ToolHint; }
    const MouseEventRec& GetLastMouseEvent() const { return m_LastMouse; }
    CItem* GetRootItem() const { return m_pRoot; }
    CDibPicture* GetOffscreen() const { return m_pOffscreen.get(); }
    // An item that goes away must not stay captured, hovered or timed.
    void ForgetItem(CItem* item);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnTimer(UINT_PTR id) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;

private:
    template <class F>
    LRESULT Guarded(F work);
    enum class Button { LDblClk, LDown, LUp, RDown, RUp };
    void OnButton(Button which, UINT flags, CPoint point);
    // The item that gets a button message: the one holding the capture,
    // else the one under the point.
    CItem* FindTarget(CPoint point, POINT* local);
    void OnGoOutMouse();
    int FindTimer(const CItem* item) const;

    std::unique_ptr<CDibPicture> m_pOffscreen;
    // The offscreen picture is the window's client surface too: painting it
    // onto the window copies nothing.
    bool m_bSharedSurface = false;
    CItem* m_pRoot = nullptr;
    CRect m_rcPending;
    CItem* m_pCaptureItem = nullptr;
    bool m_bDragMode = false;
    CItem* m_pHoverItem = nullptr;
    MouseEventRec m_LastMouse{0, 0, MouseEventRec::kNoPosition, MouseEventRec::kNoPosition};
    CToolHintCtrl m_ToolHint;
    HCURSOR m_hCursor = nullptr;
    CArray<ItemTimer, const ItemTimer&> m_ItemTimers;
    bool m_bHooked = false;
};
