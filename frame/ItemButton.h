// The press cycle shared by every button: pressed while the button goes down
// on it, a click when it comes up inside while still pressed, and a repeat
// while something captured (a dragged item) is held over it.
#pragma once

#include "frame/Item.h"

class CItemButton : public CItem {
public:
    CItemButton();

    void GetClassNameChain(CStringArray* out) override;
    // Frame, raised edge, sunken edge or inverted by state, then the
    // children; every real button draws its own picture instead.
    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnMouseEnter(UINT flags, int x, int y, CItem* captured) override;
    void OnMouseLeave(CItem* captured) override;
    void OnLButtonDown(UINT flags, int x, int y) override;
    void OnLButtonUp(UINT flags, int x, int y) override;
    void OnTick() override;
    // Slot 20: a release inside after a press (button coordinates).
    virtual void OnButtonClick(UINT flags, int x, int y);
    // Slot 21: once per repeat interval while `held` is held over the button.
    virtual void OnDragRepeat(CItem* held);

    // 3 dragged, 2 pressed, 1 hot (mouse over it), 0 normal.
    int GetButtonState() const;
    bool IsPressed() const { return m_bPressed; }
    CItem* GetHeldItem() const { return m_pHeldItem.Get(); }
    int GetRepeatInterval() const { return m_nRepeatInterval; }
    void SetRepeatInterval(int ms) { m_nRepeatInterval = ms; }

private:
    bool m_bPressed = false;
    // A held item may be deleted while it is held (by the host, between
    // events): the repeat must not reach it then.
    CItemRef m_pHeldItem;
    DWORD m_dwHeldSince = 0;
    int m_nRepeatInterval = 1000;
};
