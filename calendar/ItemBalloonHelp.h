// The balloon over the calendar: what the program or log under the pointer
// is, or, while a program is dragged or proposed, what it would become or
// which reservation rule the position breaks. It keeps no state: every paint
// works out its content from the drag state, the capture and the pointer.
#pragma once

#include <memory>
#include <vector>

#include <quillon/QProg.h>
#include <quillon/QProgLog.h>

#include "frame/Item.h"
#include "frame/QItem.h"
#include "platform/text/Font.h"

class CIniFile;
class CMaskPicture;

class CItemBalloonHelp : public CItem, public CQItem {
public:
    // Contents: 0 a proposal, 1 a change, 2 a program pointed at, 6 a log
    // pointed at; 3, 4, 5, 7, 8 the rule a drag breaks.
    enum Kind {
        kPropose = 0,
        kChange = 1,
        kProgram = 2,
        kOverlap = 3,
        kMargin = 4,
        kNkxEdge = 5,
        kLog = 6,
        kTooSoon = 7,
        kPast = 8
    };

    CItemBalloonHelp(CQMainScreen* screen, CIniFile* ini);
    ~CItemBalloonHelp() override;

    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    // The balloon keeps its place and shows in every view.
    void OnColorChanged() override {}
    void OnViewModeChanged(int /*mode*/) override {}

    // Draws one balloon pointing at (x, y), in window coordinates; the
    // target's origin is at `origin` in window coordinates.
    void DrawBalloon(CDibPicture* target, CPoint origin, int x, int y, int kind,
                     const CQProgLog& record);
    // L 0, R 1; surface 0, shadow 1. Null until loaded.
    CMaskPicture* GetFramePicture(int side, int layer) const;
    CMaskPicture* GetIcon(int kind) const;

private:
    void ReadSection(CIniFile* ini);
    bool DrawDragBalloon(CDibPicture* target, CPoint origin);
    bool DrawHoverBalloon(CDibPicture* target, CPoint origin);

    std::unique_ptr<CMaskPicture> m_Frames[2][2];
    std::vector<std::unique_ptr<CMaskPicture>> m_Icons;  // by program kind
    CFont m_Font;
};
