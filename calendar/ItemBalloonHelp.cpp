#include "calendar/ItemBalloonHelp.h"

#include <algorithm>

#include <quillon/QMainScreen.h>

#include "calendar/QItemCal.h"
#include "calendar/QItemCalDay.h"
#include "frame/IniFile.h"
#include "frame/QMainScreenInternal.h"
#include "frame/QMainWnd.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "platform/gdi/DC.h"
#include "schedule/LocalDays.h"
#include "schedule/ProgInPeriod.h"

namespace {

constexpr int kTail = 15;  // the tail's distance from the balloon's side
constexpr BYTE kShiftJisCharset = 128;

const char* const kIconNames[] = {"CDDVD", "MD", "FM", "NKX", "FMMD"};

struct RuleText {
    int kind, dx, dy, step;
    std::vector<const char*> lines;
};

const RuleText& RuleOf(int kind) {
    static const RuleText rules[] = {
        {CItemBalloonHelp::kOverlap, 10, 8, 15, {"他の予約がすでに", "設定されています"}},
        {CItemBalloonHelp::kMargin,
         10,
         3,
         12,
         {"連続した予約との間", "には３分間の空きが", "必要です"}},
        {CItemBalloonHelp::kNkxEdge,
         10,
         3,
         12,
         {"パーソナルタイマー", "は予約時間を変更で", "きません"}},
        {CItemBalloonHelp::kTooSoon, 10, 8, 15, {"開始まで３分以上の", "間が必要です"}},
        {CItemBalloonHelp::kPast, 15, 8, 15, {"過去への設定は", "出来ません"}},
    };
    for (const RuleText& r : rules) {
        if (r.kind == kind) return r;
    }
    return rules[0];
}

}  // namespace

CItemBalloonHelp::CItemBalloonHelp(CQMainScreen* screen, CIniFile* ini) : CQItem(screen, this) {
    m_Icons.resize(std::size(kIconNames));
    ReadSection(ini);
    CreateOverRoot();
    SetHitTest(false);
    m_Font.CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, kShiftJisCharset, 3, 2, 1, 0x34,
                      Sjis("ＭＳ ゴシック"));
}

CItemBalloonHelp::~CItemBalloonHelp() = default;

void CItemBalloonHelp::ReadSection(CIniFile* ini) {
    CStringArray tokens;
    int view = 0;
    while (ParseCommonKey(ini, &tokens, &view)) {
        const CString& key = tokens[0];
        if (key == "FRAME") {
            const int side = tokens[1] == "L" ? 0 : (tokens[1] == "R" ? 1 : -1);
            const int layer = tokens[2] == "SURFACE" ? 0 : (tokens[2] == "SHADOW" ? 1 : -1);
            if (side >= 0 && layer >= 0) m_Frames[side][layer] = LoadPicture(tokens[3]);
        } else if (key == "ICON") {
            for (std::size_t i = 0; i < std::size(kIconNames); ++i) {
                if (tokens[1] == kIconNames[i]) m_Icons[i] = LoadPicture(tokens[2]);
            }
        }
    }
}

CMaskPicture* CItemBalloonHelp::GetFramePicture(int side, int layer) const {
    if (side < 0 || side > 1 || layer < 0 || layer > 1) return nullptr;
    return m_Frames[side][layer].get();
}

CMaskPicture* CItemBalloonHelp::GetIcon(int kind) const {
    if (kind < 0 || kind >= static_cast<int>(m_Icons.size())) return nullptr;
    return m_Icons[static_cast<std::size_t>(kind)].get();
}

void CItemBalloonHelp::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                            int bottom) {
    // Window coordinates of the target's top-left corner.
    const CRect self = GetWindowRect();
    const CPoint origin(self.left - x, self.top - y);
    if (!DrawDragBalloon(target, origin)) DrawHoverBalloon(target, origin);
    CItem::Draw(target, x, y, left, top, right, bottom);
}

bool CItemBalloonHelp::DrawDragBalloon(CDibPicture* target, CPoint origin) {
    CQMainScreen* screen = GetMainScreen();
    auto* cal = screen != nullptr
                    ? dynamic_cast<CQItemCal*>(CQMainScreenInternal::GetCalendar(*screen))
                    : nullptr;
    const CalDragInfo* d = cal != nullptr ? cal->GetDragInfo() : nullptr;
    if (d == nullptr || !d->shown) return false;
    CQProgLog record;
    static_cast<CQProg&>(record) = d->changed;
    const CQProg& p = d->changed;
    CTimeRect range = p.GetTime();
    if (!p.IsSinglePlan()) {
        const CTime day = CTimeRect::GetYMD(d->occurrence.GetBegin());
        CArray<CTimeRect, CTimeRect> runs;
        GetProgInPeriod(p, CTimeRect(day, AddLocalDays(day, 1)), &runs);
        for (const CTimeRect& run : runs) {
            if (LocalDaysBetween(day, run.GetBegin()) == 0) {
                range = run;
                break;
            }
        }
    }
    CTime anchor = range.CenterPoint();
    if (d->grip == 0) anchor = range.GetBegin() + CTimeSpan(1800);
    if (d->grip == 2) anchor = range.GetEnd() - CTimeSpan(1800);
    if (!range.TimeInRect(anchor)) anchor = range.CenterPoint();
    CPoint at;
    // An anchor on no row of the calendar has nowhere to point.
    if (!cal->TimeToPoint(anchor, &at)) return false;
    const CRect calRect = cal->GetWindowRect();
    at.Offset(calRect.left, calRect.top);

    int kind = d->grip >= 0 ? kChange : kPropose;
    switch (screen->ChkCQProgSet(p)) {
        case -6:
            kind = kOverlap;
            break;
        case -5:
            kind = kMargin;
            break;
        case -4:
            kind = kTooSoon;
            break;
        case -2:
            kind = kPast;
            break;
        default:
            break;
    }
    if (p.IsNKXMail() && (d->grip == 0 || d->grip == 2)) kind = kNkxEdge;
    DrawBalloon(target, origin, at.x, at.y, kind, record);
    return true;
}

bool CItemBalloonHelp::DrawHoverBalloon(CDibPicture* target, CPoint origin) {
    CQMainWnd* wnd = GetMainWnd();
    if (wnd == nullptr || wnd->GetCaptureItem() != nullptr) return false;
    const MouseEventRec& m = wnd->GetLastMouseEvent();
    // Once the pointer has left the window nothing is under it.
    if (!m.inside || wnd->GetRootItem() == nullptr) return false;
    POINT local;
    CItem* under = wnd->GetRootItem()->HitTest(CPoint(m.x, m.y), &local);
    if (!CQMainScreen::IsCalendarCItem(under)) return false;
    auto* row = dynamic_cast<CQItemCalDay*>(under);
    if (row == nullptr) return false;
    CQProgLog record;
    int kind;
    CQProg prog;
    if (row->GetProgAt(local.x, &prog)) {
        static_cast<CQProg&>(record) = prog;
        kind = kProgram;
    } else if (row->GetLogAt(local.x, &record)) {
        kind = kLog;
    } else {
        return false;
    }
    DrawBalloon(target, origin, m.x, row->GetWindowRect().top, kind, record);
    return true;
}

void CItemBalloonHelp::DrawBalloon(CDibPicture* target, CPoint origin, int x, int y, int kind,
                                   const CQProgLog& record) {
    CDC* dc = target->GetMemDC();
    CMaskPicture* surfaceL = m_Frames[0][0].get();
    // The balloon's size comes from the L surface: without it there is none.
    if (dc == nullptr || surfaceL == nullptr || surfaceL->GetWidth() <= 0) return;
    const COLORREF color = GetColor();
    CFont* oldFont = dc->SelectObject(&m_Font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(color);

    const int W = GetRect().Width();
    const int H = GetRect().Height();
    const int w = surfaceL->GetWidth();
    const int h = surfaceL->GetHeight();
    int side = 0;
    int left = x - kTail;
    if (left + w >= W) {
        left = x - w + kTail;
        side = 1;
    }
    left = std::max(left, 0);
    int top = std::max(y - h, 0);
    if (left + w >= W) left = W - w;
    if (top + h >= H) top = H - h;
    left -= origin.x;
    top -= origin.y;

    if (CMaskPicture* shadow = m_Frames[side][1].get()) {
        shadow->SetColor(GetContrastColor(color));
        shadow->SetOpacity(128);
        shadow->Draw(target, left, top);
    }
    if (CMaskPicture* surface = m_Frames[side][0].get()) {
        surface->SetColor(color);
        surface->SetOpacity(256);
        surface->Draw(target, left, top);
    }

    auto text = [&](const CString& s, int l, int t, int r, int b) {
        CRect box(left + l, top + t, left + r, top + b);
        dc->DrawText(s, &box, 0);
    };
    if (kind == kPropose || kind == kChange || kind == kProgram || kind == kLog) {
        if (CMaskPicture* icon = GetIcon(record.GetKind())) {
            icon->SetColor(color);
            icon->Draw(target, left + 5, top + 5);
        }
        CString lines[3];
        if (kind == kLog) {
            lines[0] = record.GetLogStrState();
            lines[1] = record.GetLogBeginDay();
            lines[2] = record.GetLogStrTime();
        } else {
            if (kind == kPropose) lines[0] = Sjis("予約設定");
            if (kind == kChange) lines[0] = Sjis("予約変更");
            if (kind == kProgram) lines[0].Format(Sjis("予約番号#%d"), record.GetSlotNo());
            lines[1] = record.GetStrPattern();
            lines[2] = record.GetStrTime();
        }
        text(lines[0], 32, 3, 132, 23);
        text(lines[1], 32, 15, 132, 35);
        text(lines[2], 32, 27, 132, 47);
    } else {
        const RuleText& rule = RuleOf(kind);
        for (std::size_t i = 0; i < rule.lines.size(); ++i) {
            const int t = rule.dy + static_cast<int>(i) * rule.step;
            text(Sjis(rule.lines[i]), rule.dx, t, rule.dx + 200, t + 200);
        }
    }
    dc->SelectObject(oldFont);
}
