#include "devices/QItemButton.h"

#include <quillon/QMainScreen.h>

#include <algorithm>
#include <cstdint>

#include "frame/IniFile.h"
#include "frame/ItemAnimation.h"
#include "frame/ItemBackground.h"
#include "frame/QItemRoles.h"
#include "frame/QMainScreenInternal.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"

CQItemButton::CQItemButton(CQMainScreen* screen, const Style& style)
    : CQItem(screen, this), m_style(style) {}

// The animation goes first, while this item is still its parent.
CQItemButton::~CQItemButton() = default;

int CQItemButton::ParseIntKey(const char* value) {
    int v = -1;
    return CIniFile::ScanInts(value, &v, 1) == 1 ? v : -1;
}

void CQItemButton::ReadSection(CIniFile* ini) {
    if (m_style.createBeforeKeys) {
        CreateItems();
    } else if (m_style.animated) {
        // Its frames may come before the button is in the tree; it joins it
        // with the button.
        m_pAnime = std::make_unique<CItemAnimation>();
    }
    CStringArray tokens;
    int view = 0;
    while (ParseCommonKey(ini, &tokens, &view)) {
        // The subclass goes first, so that it may read a shared key its own way.
        if (!OnSectionKey(tokens, view)) OnButtonKey(tokens);
    }
    if (!m_style.createBeforeKeys) CreateItems();
    if (m_style.defaultToolHint && !GetDefaultToolHint().IsEmpty())
        SetToolHint(GetDefaultToolHint());
}

bool CQItemButton::OnSectionKey(const CStringArray& /*tokens*/, int /*view*/) {
    return false;
}

void CQItemButton::CreateItems() {
    CQMainScreen* screen = GetMainScreen();
    Create(screen != nullptr ? screen->GetRootItem() : nullptr, 0, 0, 10, 10);
    if (m_style.animated) {
        if (!m_pAnime) m_pAnime = std::make_unique<CItemAnimation>();
        m_pAnime->Create(this, 0, 0, 10, 10);
    }
    OnItemsCreated();
}

bool CQItemButton::OnButtonKey(const CStringArray& tokens) {
    const CString& key = tokens[0];
    const CString& value = tokens[1];
    if (_mbscmp(key, "ICON") == 0) {
        SetIcon(value);
    } else if (m_style.animated && _mbscmp(key, "ICONANIME") == 0) {
        CString path = GetPictureDirectory() + value;
        if (!m_pAnime->AddFrame(path)) MessageBoxNoOwner(path, "Error");
    } else if (m_style.animated && _mbscmp(key, "ANIMEORDER") == 0) {
        m_pAnime->SetOrder(value);
    } else if (m_style.animated && _mbscmp(key, "ANIMESPEED") == 0) {
        m_pAnime->SetPeriod(ParseIntKey(value));
    } else if (m_style.repeatKey && _mbscmp(key, "ONPERIODICDRAGTIME") == 0) {
        // -1 for a word: compared unsigned it never elapses, so no repeat.
        SetRepeatInterval(ParseIntKey(value));
    } else {
        return false;
    }
    return true;
}

void CQItemButton::SetIcon(const CString& file) {
    m_pIcon = LoadPicture(file);
    // An icon that did not load has no size to give: the placements keep
    // theirs (a SIZE line, or empty).
    const int w = m_pIcon->GetWidth();
    const int h = m_pIcon->GetHeight();
    if (w <= 0 || h <= 0) return;
    SizePlacements(0, 2, w, h);
}

void CQItemButton::SizePlacements(int first, int last, int width, int height) {
    for (int view = first; view <= last; ++view) {
        CRect& r = GetViewPlacement(view)->rect;
        r.right = static_cast<int>(std::min<std::int64_t>(std::int64_t{r.left} + width, kMaxCoord));
        r.bottom =
            static_cast<int>(std::min<std::int64_t>(std::int64_t{r.top} + height, kMaxCoord));
    }
}

CQCalendarRole* CQItemButton::GetCalendar() const {
    CQMainScreen* screen = GetMainScreen();
    return screen != nullptr ? CQCalendarRole::Of(CQMainScreenInternal::GetCalendar(*screen))
                             : nullptr;
}

const CalDragInfo* CQItemButton::GetBarDrag(CItem* dragged) const {
    if (dragged == nullptr || !dragged->IsKindOf("CQItemCalDay")) return nullptr;
    CQCalendarRole* cal = GetCalendar();
    return cal != nullptr ? cal->GetDragInfo() : nullptr;
}

CMaskPicture* CQItemButton::GetIcon(int mode) {
    const bool wasRunning = m_bAnimating;
    m_bAnimating = false;
    CMaskPicture* icon = m_pIcon.get();
    if (mode == 1) {
        m_bAnimating = true;
        icon = m_pAnime ? m_pAnime->GetFrame() : nullptr;
    }
    if (m_pAnime) {
        m_pAnime->Run(m_bAnimating);
        if (wasRunning && !m_bAnimating) m_pAnime->Rewind();
    }
    return icon;
}

void CQItemButton::DrawAnimatedButton(CDibPicture* target, int x, int y, int left, int top,
                                      int right, int bottom, bool available) {
    CMaskPicture* picture = nullptr;
    COLORREF color = GetColor();
    if (!IsEnabled() || !available) {
        picture = GetIcon(0);
        color = GetGrayColor();
    } else {
        switch (GetButtonState()) {
            case 1:
                picture = GetIcon(1);
                break;
            case 2:
                picture = GetIcon(1);
                color = GetSelectColor();
                break;
            default:  // normal, or dragged
                picture = GetIcon(0);
                break;
        }
    }
    DrawIcon(target, x, y, left, top, right, bottom, picture, color);
}

void CQItemButton::DrawIcon(CDibPicture* target, int x, int y, int left, int top, int right,
                            int bottom, CMaskPicture* picture, COLORREF color) {
    if (picture != nullptr) {
        // An icon larger than the button stays inside this item's share of
        // the clip.
        RECT saved = target->GetClipRect();
        RECT clip{left, top, right, bottom};
        RECT inner;
        if (::IntersectRect(&inner, &saved, &clip)) {
            target->SetClipRect(inner.left, inner.top, inner.right, inner.bottom);
            picture->SetColor(color);
            picture->Draw(target, x, y);
            target->SetClipRect(saved.left, saved.top, saved.right, saved.bottom);
        }
    }
    CItem::Draw(target, x, y, left, top, right, bottom);
}

CItemBackground* CQItemButton::GetBackground() const {
    CQMainScreen* screen = GetMainScreen();
    return screen != nullptr ? dynamic_cast<CItemBackground*>(screen->GetRootItem()) : nullptr;
}

void CQItemButton::OnMouseEnter(UINT flags, int x, int y, CItem* captured) {
    if (m_style.dimBackground) {
        if (CItemBackground* bg = GetBackground()) {
            bg->SetNormalPicture(false);
            bg->Redraw();
        }
    }
    CItemButton::OnMouseEnter(flags, x, y, captured);
}

void CQItemButton::OnMouseLeave(CItem* captured) {
    if (m_style.dimBackground) {
        if (CItemBackground* bg = GetBackground()) {
            bg->SetNormalPicture(true);
            bg->Redraw();
        }
    }
    CItemButton::OnMouseLeave(captured);
}

void CQItemButton::OnViewModeChanged(int mode) {
    const ViewPlacement* p = GetViewPlacement(mode);
    if (p == nullptr) return;
    SetVisible(p->visible);
    SetRect(p->rect);
    if (m_style.redrawOnViewChange) Redraw();
}

void CQItemButton::OnColorChanged() {
    if (m_style.redrawOnColorChange) Redraw();
}
