#include "devices/QItemTrash.h"

#include <quillon/QMainScreen.h>

#include "frame/QItemRoles.h"
#include "frame/QMainScreenInternal.h"

namespace {

CQItemButton::Style TrashStyle() {
    CQItemButton::Style s;
    s.createBeforeKeys = true;
    s.animated = true;
    return s;
}

}  // namespace

CQItemTrash::CQItemTrash(CQMainScreen* screen, CIniFile* ini) : CQItemButton(screen, TrashStyle()) {
    ReadSection(ini);
}

void CQItemTrash::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                       int bottom) {
    CQMainScreen* screen = GetMainScreen();
    const bool selected =
        screen != nullptr && CQMainScreenInternal::GetSelectProg(*screen, nullptr);
    DrawAnimatedButton(target, x, y, left, top, right, bottom, selected);
}

void CQItemTrash::DeleteOnConsent(CQProg p) {
    CQMainScreen* screen = GetMainScreen();
    // The host may show a dialog and may change p; the slot it leaves in p
    // is the one deleted.
    if (!screen->OnCalendar_ProgDelete(&p)) return;
    screen->DeleteProgram(p.GetSlotNo());
    // The selection is gone: the buttons that show it change their look.
    screen->AllRedraw(false);
}

void CQItemTrash::OnButtonClick(UINT /*flags*/, int /*x*/, int /*y*/) {
    CQMainScreen* screen = GetMainScreen();
    CQProg p;
    if (screen != nullptr && CQMainScreenInternal::GetSelectProg(*screen, &p)) DeleteOnConsent(p);
}

void CQItemTrash::OnDropIn(UINT flags, int x, int y, CItem* dragged) {
    CQMainScreen* screen = GetMainScreen();
    // Only a program bar, whose day row holds the drag; anything else
    // dropped here means nothing.
    if (const CalDragInfo* d = screen != nullptr ? GetBarDrag(dragged) : nullptr)
        DeleteOnConsent(d->initial);
    CQItemButton::OnDropIn(flags, x, y, dragged);
}
