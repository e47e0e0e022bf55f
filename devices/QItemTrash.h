// The trash (TRASH): deletes the selected program when clicked, or the
// program whose bar is dropped on it, each time only with the host's consent.
// It looks unavailable while no program is selected.
#pragma once

#include <quillon/QProg.h>

#include "devices/QItemButton.h"

class CIniFile;

class CQItemTrash : public CQItemButton {
public:
    CQItemTrash(CQMainScreen* screen, CIniFile* ini);

    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnButtonClick(UINT flags, int x, int y) override;
    void OnDropIn(UINT flags, int x, int y, CItem* dragged) override;

private:
    // Asks the host about p and deletes p's slot when it agrees.
    void DeleteOnConsent(CQProg p);
};
