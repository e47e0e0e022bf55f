// Message boxes are drawn here, with our own fonts, so that a windowed
// backend shows Japanese texts right whatever the desktop has.
#include <algorithm>

#include "platform/WindowSystem.h"
#include "platform/gdi/DC.h"
#include "platform/text/Font.h"

namespace quillon {
namespace platform {
namespace {

constexpr int kPad = 14;
constexpr int kButtonMinWidth = 76;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 8;
constexpr int kMinWidth = 180;

CString Label(int answer) {
    switch (answer) {
        case IDCANCEL:
            return FromUtf8("キャンセル");
        case IDABORT:
            return FromUtf8("中止");
        case IDRETRY:
            return FromUtf8("再試行");
        case IDIGNORE:
            return FromUtf8("無視");
        case IDYES:
            return FromUtf8("はい");
        case IDNO:
            return FromUtf8("いいえ");
        default:
            return CString("OK");
    }
}

}  // namespace

MessageBoxLayout MessageBoxButtons(UINT type) {
    MessageBoxLayout layout;
    std::vector<int> answers;
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            answers = {IDOK, IDCANCEL};
            layout.escapeAnswer = IDCANCEL;
            break;
        case MB_ABORTRETRYIGNORE:
            answers = {IDABORT, IDRETRY, IDIGNORE};
            break;
        case MB_YESNOCANCEL:
            answers = {IDYES, IDNO, IDCANCEL};
            layout.escapeAnswer = IDCANCEL;
            break;
        case MB_YESNO:
            answers = {IDYES, IDNO};
            break;
        case MB_RETRYCANCEL:
            answers = {IDRETRY, IDCANCEL};
            layout.escapeAnswer = IDCANCEL;
            break;
        default:
            answers = {IDOK};
            layout.escapeAnswer = IDOK;
            break;
    }
    for (int a : answers) layout.buttons.push_back(MessageBoxButton{a, CRect()});
    int def = static_cast<int>((type >> 8) & 0xF);  // MB_DEFBUTTON2 is 0x100
    layout.focused = def < static_cast<int>(answers.size()) ? def : 0;
    return layout;
}

DibSection* DrawMessageBox(const CString& text, const CString& caption, MessageBoxLayout* layout,
                           int pressed) {
    CFont* font = DefaultGuiFont();
    int textW = 0;
    int textH = 0;
    MeasureText(font, text, &textW, &textH);
    int capW = 0;
    int capH = 0;
    MeasureText(font, caption.IsEmpty() ? CString(" ") : caption, &capW, &capH);
    int lineH = std::max(capH, 12);

    std::vector<CString> labels;
    int buttonsW = 0;
    std::vector<int> widths;
    for (const MessageBoxButton& b : layout->buttons) {
        CString label = Label(b.answer);
        int w = 0;
        int h = 0;
        MeasureText(font, label, &w, &h);
        widths.push_back(std::max(kButtonMinWidth, w + 20));
        buttonsW += widths.back();
        labels.push_back(label);
    }
    buttonsW += kButtonGap * std::max(0, static_cast<int>(widths.size()) - 1);

    int barH = lineH + 8;
    int width = std::max({kMinWidth, textW + 2 * kPad, capW + 2 * 8, buttonsW + 2 * kPad});
    int height = barH + kPad + textH + kPad + kButtonHeight + 12;
    HBITMAP picture = MakeSurface(width, height);
    if (!picture) return nullptr;

    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(picture);
    dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    CRect all(0, 0, width, height);
    dc.FillSolidRect(&all, GetSysColor(COLOR_3DFACE));
    CRect bar(1, 1, width - 1, 1 + barH);
    dc.FillSolidRect(&bar, GetSysColor(COLOR_HIGHLIGHT));
    dc.SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
    CRect capRect(bar.left + 7, bar.top + (barH - capH) / 2, bar.right - 4, bar.bottom);
    dc.DrawText(caption, &capRect, DT_LEFT | DT_TOP);
    CBrush frame(GetSysColor(COLOR_WINDOWFRAME));
    dc.FrameRect(&all, &frame);

    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    CRect textRect(kPad, barH + kPad, width - kPad, barH + kPad + textH);
    dc.DrawText(text, &textRect, DT_LEFT | DT_TOP);

    // The buttons sit centred under the text.
    int x = (width - buttonsW) / 2;
    int y = height - 12 - kButtonHeight;
    for (std::size_t i = 0; i < layout->buttons.size(); ++i) {
        CRect r(x, y, x + widths[i], y + kButtonHeight);
        layout->buttons[i].rect = r;
        bool down = static_cast<int>(i) == pressed;
        CRect face = r;
        if (static_cast<int>(i) == layout->focused) {
            dc.FrameRect(&face, &frame);
            face.DeflateRect(1, 1);
        }
        dc.FillSolidRect(&face, GetSysColor(COLOR_BTNFACE));
        CRect edge = face;
        dc.DrawEdge(&edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        int w = 0;
        int h = 0;
        MeasureText(font, labels[i], &w, &h);
        int shift = down ? 1 : 0;
        CRect lr(r.left + (r.Width() - w) / 2 + shift, r.top + (r.Height() - h) / 2 + shift,
                 r.right, r.bottom);
        dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
        dc.DrawText(labels[i], &lr, DT_LEFT | DT_TOP);
        x += widths[i] + kButtonGap;
    }
    return picture;
}

}  // namespace platform
}  // namespace quillon
