// The tip is drawn here, with our own fonts, so that every backend shows the
// same tip and none of them has to lay out Shift-JIS text.
#include "platform/ToolTip.h"
#include "platform/WindowSystem.h"
#include "platform/gdi/DC.h"
#include "platform/text/Font.h"

namespace quillon {
namespace platform {
namespace {

constexpr int kFrame = 1;
constexpr int kPadX = 3;
constexpr int kPadY = 2;

}  // namespace

HBITMAP DrawToolTip(const CString& text) {
    if (text.IsEmpty()) return nullptr;
    CFont* font = DefaultGuiFont();
    int width = 0;
    int height = 0;
    MeasureText(font, text, &width, &height);
    // Text of nothing but control characters still makes a (small) tip.
    width += 2 * (kFrame + kPadX);
    height += 2 * (kFrame + kPadY);
    HBITMAP picture = MakeSurface(width, height);  // null beyond the picture size cap
    if (!picture) return nullptr;

    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(picture);
    CRect all(0, 0, width, height);
    dc.FillSolidRect(&all, GetSysColor(COLOR_INFOBK));
    CBrush frame(GetSysColor(COLOR_WINDOWFRAME));
    dc.FrameRect(&all, &frame);
    dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_INFOTEXT));
    CRect inside = all;
    inside.DeflateRect(kFrame + kPadX, kFrame + kPadY);
    dc.DrawText(text, &inside, DT_LEFT | DT_TOP);
    return picture;
}

}  // namespace platform
}  // namespace quillon
