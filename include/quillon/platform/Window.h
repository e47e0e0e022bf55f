// Windows: the window base with its message handlers, capture, focus,
// timers and painting, the wait cursor and message boxes.
//
// A top-level window is a platform::FrameWindow (FrameWindow.h). Every other
// window is a child: a rectangle in its parent's client area, with its own
// client surface, update area, timers and handlers. Message boxes go to the
// platform backend; without one that shows them they print "caption: text"
// on stderr.
#pragma once

#include <memory>
#include <string>

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Messages.h>
#include <quillon/platform/Types.h>

class CWnd;

namespace quillon {
namespace platform {
struct WindowData;
class FrameWindow;
BOOL CreateWindowFor(CWnd* wnd, CREATESTRUCT& cs, FrameWindow* frame, int backendId);
BOOL DestroyWindowFor(CWnd* wnd);
}  // namespace platform
}  // namespace quillon

// What the framework's objects tell of their class. Only CObject's own
// entry exists: no class here declares one of its own.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};
#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// Serialisation and diagnostic dumps, as far as the default operations
// need them: nothing is serialisable, and a dump is text.
class CArchive {};
class CDumpContext {
public:
    CDumpContext& operator<<(const char* text);
    const std::string& GetText() const { return m_text; }

private:
    std::string m_text;
};

// The first virtual operations of every framework object, in this order:
// run-time class, destructor, serialisation, validity check, dump.
class CObject {
public:
    static const CRuntimeClass classCObject;

    CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;

    bool IsKindOf(const CRuntimeClass* c) const;
    bool IsSerializable() const { return false; }
};

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

class CWnd : public CObject {
public:
    CWnd();
    // Destroys the window if it still exists (the handlers of this class, not
    // of a derived one, see its WM_DESTROY then).
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window itself while it exists, else null.
    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }  // NOLINT(google-explicit-constructor)

    // A child window (WS_CHILD is added) at `rect` in the parent's client
    // coordinates. PreCreateWindow may change the style and extended style;
    // OnCreate returning -1 refuses the window, which is then destroyed.
    // FALSE without an existing parent, when this object already has a
    // window, or when either hook refuses.
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, void* context = nullptr);
    // As Create with an extended style; without WS_CHILD (or without a
    // parent) it makes a hidden top-level window that takes no input, as a
    // tool tip control is.
    virtual BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                          const RECT& rect, CWnd* parent, UINT id, void* param = nullptr);
    // WM_DESTROY to this window, then to its children (which are destroyed
    // too, their objects stay), then PostNcDestroy.
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Called by the message loops for the message's window and each of its
    // parents in turn before the message is dispatched; TRUE eats it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual void PostNcDestroy() {}

    CWnd* GetParent() const;
    // The top-level window this one lives in (itself for a top-level one).
    CWnd* GetTopLevelParent() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    int GetDlgCtrlID() const;

    // (0, 0, width, height) of the client area: the window's rectangle less
    // its border (1 pixel for WS_BORDER, 2 more for WS_EX_CLIENTEDGE).
    void GetClientRect(LPRECT rect) const;
    // The whole window in screen coordinates.
    void GetWindowRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    // A child's rectangle in its parent's client coordinates. The client
    // area's content is kept where the size stays, else it is repainted.
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    // SW_HIDE or SW_SHOW; returns whether it was visible before.
    BOOL ShowWindow(int command);
    // Visible itself and every parent.
    BOOL IsWindowVisible() const;

    // Adds the rectangle (client coordinates, null for the whole client
    // area) to the update area; `erase` makes the next paint send
    // WM_ERASEBKGND first.
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void Invalidate(BOOL erase = TRUE) { InvalidateRect(nullptr, erase); }
    void ValidateRect(LPCRECT rect);
    BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE);
    // Sends WM_PAINT now when the update area is not empty.
    void UpdateWindow();

    // Mouse messages go to the capturing window wherever the pointer is.
    // Returns the window that had the capture.
    CWnd* SetCapture();
    static CWnd* GetCapture();
    // Keys go to the focus window. Returns the window that had it.
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // A timer of `elapse` ms (10 at least) on the platform clock; an id in
    // use restarts. Returns the id, 0 when the window does not exist.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc);
    BOOL KillTimer(UINT_PTR id);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The default handling of the message being handled now.
    LRESULT Default();

    // A null caption shows the window system's default, "Error".
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // Every message reaches the window here: it calls the handler below that
    // belongs to the message, and the default handling for every other one
    // (registered messages included). Override it for messages without a
    // handler.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window system's own handling: WM_PAINT validates, WM_ERASEBKGND
    // fills with the window's background colour, WM_SETCURSOR asks the
    // parent and then shows the arrow, WM_MOUSEWHEEL goes on to the parent,
    // WM_CLOSE destroys the window.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Handlers. Each one's default is Default(). Points are in client
    // coordinates, except OnMouseWheel's, which is in screen coordinates.
    virtual int OnCreate(LPCREATESTRUCT cs);
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual void OnTimer(UINT_PTR id);
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual void OnCaptureChanged(CWnd* wnd);

    // The platform's record of the window (null when it does not exist).
    quillon::platform::WindowData* PlatformData() const { return m_data.get(); }

private:
    friend BOOL quillon::platform::CreateWindowFor(CWnd*, CREATESTRUCT&,
                                                   quillon::platform::FrameWindow*, int);
    friend BOOL quillon::platform::DestroyWindowFor(CWnd*);
    std::unique_ptr<quillon::platform::WindowData> m_data;
};

BOOL ReleaseCapture();
HWND GetCapture();
HWND GetFocus();

// Application-modal box with the application's name as caption.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// The wait cursor shows while Begin calls outnumber End calls.
void BeginWaitCursor();
void EndWaitCursor();

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore() {}
};
