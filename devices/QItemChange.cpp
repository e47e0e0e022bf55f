#include "devices/QItemChange.h"

#include <quillon/QMainScreen.h>

#include "frame/QItemRoles.h"
#include "frame/QMainScreenInternal.h"

namespace {

CQItemButton::Style ChangeStyle() {
    CQItemButton::Style s;
    s.createBeforeKeys = false;
    s.dimBackground = true;
    return s;
}

}  // namespace

CQItemChange::CQItemChange(CQMainScreen* screen, CIniFile* ini)
    : CQItemButton(screen, ChangeStyle()) {
    ReadSection(ini);
}

void CQItemChange::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                        int bottom) {
    CQMainScreen* screen = GetMainScreen();
    const bool selected =
        screen != nullptr && CQMainScreenInternal::GetSelectProg(*screen, nullptr);
    DrawIcon(target, x, y, left, top, right, bottom, GetStillIcon(),
             selected && IsEnabled() ? GetColor() : GetGrayColor());
}

void CQItemChange::OnButtonClick(UINT /*flags*/, int /*x*/, int /*y*/) {
    CQMainScreen* screen = GetMainScreen();
    CQProg p;
    if (screen != nullptr && CQMainScreenInternal::GetSelectProg(*screen, &p))
        screen->OnChange_Click(p);
}

void CQItemChange::OnDropIn(UINT flags, int x, int y, CItem* dragged) {
    CQMainScreen* screen = GetMainScreen();
    if (const CalDragInfo* d = screen != nullptr ? GetBarDrag(dragged) : nullptr) {
        // The program as it was before the drag; the host may rewrite it.
        CQProg p = d->initial;
        if (screen->OnChange_DropOut(GetName(), &p)) screen->SetProgram(p);
    }
    CQItemButton::OnDropIn(flags, x, y, dragged);
}
