// The host window's tool hints: one tool per item that asked for a hint,
// identified by the smallest positive id not in use. A tool can be taken out
// of the control while its item is hidden and put back with its text and
// rectangle.
#pragma once

#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>

#include "platform/ToolTip.h"

class CToolHintCtrl : public CToolTipCtrl {
public:
    CToolHintCtrl() = default;
    ~CToolHintCtrl() override;
    CToolHintCtrl(const CToolHintCtrl&) = delete;
    CToolHintCtrl& operator=(const CToolHintCtrl&) = delete;

    // The owner is the window whose client rectangles the tools cover.
    BOOL Create(CWnd* owner, DWORD style = 0) override;

    // Registers a tool; returns its id.
    UINT AddHint(const CString& text, const RECT& rect);
    // Takes the tool out of the control or puts it back; nothing when the
    // state does not change.
    void SetHintActive(UINT id, bool active);
    void SetHintRect(UINT id, const RECT& rect);
    void UpdateHintText(UINT id, const CString& text);
    void RemoveHint(UINT id);

    // For tests and diagnostics: the record of an id, null when none.
    struct ToolRec {
        UINT id;
        CString text;
        bool registered;
        CRect rect;  // host window coordinates
    };
    const ToolRec* FindHint(UINT id) const;
    int GetHintCount() const { return m_Tools.GetSize(); }

private:
    int IndexOf(UINT id) const;

    CWnd* m_pOwner = nullptr;
    CPtrArray m_Tools;  // ToolRec*, owned
};
