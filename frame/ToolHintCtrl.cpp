#include "frame/ToolHintCtrl.h"

CToolHintCtrl::~CToolHintCtrl() {
    for (void* p : m_Tools) delete static_cast<ToolRec*>(p);
    m_Tools.RemoveAll();
}

BOOL CToolHintCtrl::Create(CWnd* owner, DWORD style) {
    m_pOwner = owner;
    return CToolTipCtrl::Create(owner, style);
}

int CToolHintCtrl::IndexOf(UINT id) const {
    for (int i = 0; i < m_Tools.GetSize(); ++i) {
        if (static_cast<const ToolRec*>(m_Tools[i])->id == id) return i;
    }
    return -1;
}

const CToolHintCtrl::ToolRec* CToolHintCtrl::FindHint(UINT id) const {
    int i = IndexOf(id);
    return i < 0 ? nullptr : static_cast<const ToolRec*>(m_Tools[i]);
}

UINT CToolHintCtrl::AddHint(const CString& text, const RECT& rect) {
    UINT id = 1;
    while (IndexOf(id) >= 0) ++id;
    auto* rec = new ToolRec{id, text, true, CRect(rect)};
    m_Tools.Add(rec);
    CToolTipCtrl::AddTool(m_pOwner, rec->text, &rec->rect, id);
    return id;
}

void CToolHintCtrl::SetHintActive(UINT id, bool active) {
    int i = IndexOf(id);
    if (i < 0) return;
    auto* rec = static_cast<ToolRec*>(m_Tools[i]);
    if (rec->registered == active) return;
    rec->registered = active;
    if (active) {
        CToolTipCtrl::AddTool(m_pOwner, rec->text, &rec->rect, id);
    } else {
        CToolTipCtrl::DelTool(m_pOwner, id);
    }
}

void CToolHintCtrl::SetHintRect(UINT id, const RECT& rect) {
    int i = IndexOf(id);
    if (i < 0) return;
    auto* rec = static_cast<ToolRec*>(m_Tools[i]);
    rec->rect = rect;
    if (rec->registered) CToolTipCtrl::SetToolRect(m_pOwner, id, &rec->rect);
}

void CToolHintCtrl::UpdateHintText(UINT id, const CString& text) {
    int i = IndexOf(id);
    if (i < 0) return;
    auto* rec = static_cast<ToolRec*>(m_Tools[i]);
    rec->text = text;
    if (rec->registered) CToolTipCtrl::UpdateTipText(rec->text, m_pOwner, id);
}

void CToolHintCtrl::RemoveHint(UINT id) {
    int i = IndexOf(id);
    if (i < 0) return;
    auto* rec = static_cast<ToolRec*>(m_Tools[i]);
    if (rec->registered) CToolTipCtrl::DelTool(m_pOwner, id);
    m_Tools.RemoveAt(i);
    delete rec;
}
