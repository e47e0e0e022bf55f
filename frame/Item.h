// The drawing and input base of every item on the screen: a rectangle in a
// tree of rectangles, drawn into the host window's off-screen picture and fed
// with mouse, key, wheel and timer events by the host window.
#pragma once

#include <memory>
#include <vector>

#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

class CDibPicture;
class CItem;
class CQMainWnd;

// Where a press may start a drag, and how far the pointer must go before it
// does. Nine words, copied by value.
struct DragArea {
    int id = 0;
    // Item coordinates; empty means the whole item.
    RECT area{0, 0, 0, 0};
    // Relative to the press point: the drag starts once the pointer, with
    // the button held, is no longer inside it.
    RECT threshold{-10, -10, 10, 10};
};
static_assert(sizeof(DragArea) == 9 * 4, "a drag area is nine 32-bit words");

// A pointer to an item that turns null once the item is deleted. Handlers
// may delete items (a host callback makes the calendar rebuild its day
// rows), so whoever calls items one after another, or keeps one between
// events, holds them by this. A new item made where a deleted one was in
// memory is another item: the reference does not reach it.
class CItemRef {
public:
    CItemRef() = default;
    CItemRef(CItem* item);  // NOLINT(google-explicit-constructor): a pointer that knows
    CItem* Get() const {
        std::shared_ptr<CItem* const> life = m_life.lock();
        return life ? *life : nullptr;
    }
    bool IsAlive() const { return !m_life.expired(); }

private:
    std::weak_ptr<CItem* const> m_life;
};

class CItem {
public:
    CItem();
    CItem(const CItem&) = delete;
    CItem& operator=(const CItem&) = delete;

    // The virtual operations, in slot order.

    // Drops the timer registration and leaves the parent; the children are
    // not deleted (whoever created them does that).
    virtual ~CItem();
    // Appends the class names, base first.
    virtual void GetClassNameChain(CStringArray* out);
    // (x, y) is where this item's top-left corner lies in the target; the
    // clip rectangle is in target coordinates.
    virtual void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom);
    virtual void OnCreate();
    virtual void OnMove();
    virtual void OnMouseMove(UINT flags, int x, int y, CItem* captured);
    virtual void OnMouseEnter(UINT flags, int x, int y, CItem* captured);
    virtual void OnMouseLeave(CItem* captured);
    virtual void OnLButtonDblClk(UINT flags, int x, int y);
    virtual void OnLButtonDown(UINT flags, int x, int y);
    virtual void OnLButtonUp(UINT flags, int x, int y);
    virtual void OnRButtonDown(UINT flags, int x, int y);
    virtual void OnRButtonUp(UINT flags, int x, int y);
    virtual void OnItemTimer();
    virtual void OnTick();
    virtual void OnBeginDrag(DragArea area);
    virtual void OnEndDrag(int x, int y);
    virtual void OnDropIn(UINT flags, int x, int y, CItem* dragged);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnMouseWheel(UINT flags, short delta);

    // Attaches the item under `parent` (may be null: the root) and gives it
    // its first rectangle, then OnCreate.
    bool Create(CItem* parent, int left, int top, int right, int bottom);
    // The root learns its host window here; every other item copies its
    // parent's when it is attached.
    void SetMainWnd(CQMainWnd* wnd) { m_pMainWnd = wnd; }
    CQMainWnd* GetMainWnd() const { return m_pMainWnd; }

    void SetRect(const RECT& rect);
    const CRect& GetRect() const { return m_rect; }
    void SetVisible(bool visible);
    bool IsVisible() const { return m_bVisible; }
    void SetHitTest(bool hitTest) { m_bHitTest = hitTest; }
    bool IsHitTest() const { return m_bHitTest; }
    void SetForwardToParent(bool forward) { m_bForwardToParent = forward; }
    bool IsForwardToParent() const { return m_bForwardToParent; }

    // The rectangle in host window coordinates.
    CRect GetWindowRect() const;
    // Visible, and the host window's last mouse position lies on it.
    bool IsMouseIn() const;
    // `area` is in the parent's coordinates (null: the whole item). `now`
    // paints at once, but only when asked of the root.
    void Redraw(const RECT* area = nullptr, bool now = false);
    bool SetToolHint(const CString& text);
    int GetToolId() const { return m_nToolId; }

    // Capture of the host window's mouse, in click or drag mode.
    bool SetCapture(bool drag);
    bool ReleaseCapture();
    bool IsCaptured() const;
    bool IsDragging() const;

    // A period below 1 ms removes the timer.
    void SetTimer(int ms);
    int GetTimer() const;

    int AddDragArea(DragArea area);
    // False when no area has that id.
    bool RemoveDragArea(int id);
    const CArray<DragArea, DragArea>& GetDragAreas() const { return m_DragAreas; }

    // This item and every descendant, pre-order.
    void CollectTree(CPtrArray* out);
    // The same, held by references: for calling every item in turn while
    // the calls may delete some.
    void CollectTree(std::vector<CItemRef>* out);
    // Moves the item last among its parent's children (drawn on top) and
    // redraws its area.
    void BringToFront();
    bool IsKindOf(const char* className);

    // The deepest visible, hit-testable descendant under `point` (this
    // item's coordinates), or this item; `local` gets the point in the
    // found item's coordinates.
    CItem* HitTest(POINT point, POINT* local);

    CItem* GetParent() const { return m_pParent; }
    int GetChildCount() const { return m_Children.GetSize(); }
    CItem* GetChild(int i) const { return static_cast<CItem*>(m_Children[i]); }
    CPoint GetPressPoint() const { return CPoint(m_nPressX, m_nPressY); }

private:
    friend class CItemRef;
    void RemoveChild(CItem* child);
    // Every descendant forgets the host window (it is going away).
    void ForgetMainWnd();
    friend class CQMainWnd;

    // Shared with the references to this item; released first when it goes.
    std::shared_ptr<CItem* const> m_pLife;
    CRect m_rect;
    CPtrArray m_Children;
    bool m_bForwardToParent = false;
    int m_nToolId = -1;
    CArray<DragArea, DragArea> m_DragAreas;
    CItem* m_pParent = nullptr;
    CQMainWnd* m_pMainWnd = nullptr;
    bool m_bHitTest = true;
    bool m_bVisible = true;
    int m_nPressX = -1;
    int m_nPressY = -1;
};
