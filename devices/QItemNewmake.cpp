#include "devices/QItemNewmake.h"

#include <quillon/QMainScreen.h>

#include "frame/QItemRoles.h"

namespace {

CQItemButton::Style NewmakeStyle() {
    CQItemButton::Style s;
    s.createBeforeKeys = false;
    s.dimBackground = true;
    return s;
}

}  // namespace

CQItemNewmake::CQItemNewmake(CQMainScreen* screen, CIniFile* ini)
    : CQItemButton(screen, NewmakeStyle()) {
    ReadSection(ini);
}

void CQItemNewmake::GetClassNameChain(CStringArray* out) {
    CQItemButton::GetClassNameChain(out);
    out->Add("CQItemNewmake");
}

void CQItemNewmake::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                         int bottom) {
    CQMainScreen* screen = GetMainScreen();
    const bool free = screen != nullptr && screen->GetEmptySlotNo() >= 0;
    DrawIcon(target, x, y, left, top, right, bottom, GetStillIcon(),
             IsEnabled() && free ? GetColor() : GetGrayColor());
}

void CQItemNewmake::OnButtonClick(UINT flags, int x, int y) {
    if (CQMainScreen* screen = GetMainScreen())
        screen->OnNewmake_Click(GetName(), flags, CPoint(x, y));
}

void CQItemNewmake::OnDropIn(UINT flags, int x, int y, CItem* dragged) {
    CQMainScreen* screen = GetMainScreen();
    // Reported even when no slot is free: the host decides what to do.
    CQDeviceRole* device = dragged != nullptr ? CQDeviceRole::Of(dragged) : nullptr;
    if (screen != nullptr && device != nullptr && dragged->IsKindOf("CQItemDevice"))
        screen->OnNewmake_DropOut(device->GetDeviceName());
    CQItemButton::OnDropIn(flags, x, y, dragged);
}
