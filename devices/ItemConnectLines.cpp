#include "devices/ItemConnectLines.h"

#include <cmath>
#include <cstdlib>

#include <quillon/QMainScreen.h>

#include "frame/IniFile.h"
#include "frame/pictures/MaskPicture.h"

namespace {

struct DotLook {
    COLORREF color;
    int opacity;
};
constexpr DotLook kOrdinary{0x00828282, 128};
constexpr DotLook kBright[3] = {{0x00578903, 160}, {0x0000FF00, 256}, {0x00578903, 160}};

}  // namespace

CItemConnectLines::CItemConnectLines(CQMainScreen* screen, CIniFile* ini) : CQItem(screen, this) {
    CStringArray tokens;
    int view = 0;
    while (ParseCommonKey(ini, &tokens, &view)) {
        if (tokens[0] == "LINEPOINT") m_pDot = LoadPicture(tokens[1]);
    }
    CreateOverRoot();
    // Clicks and drops go to the items below.
    SetHitTest(false);
}

CItemConnectLines::~CItemConnectLines() = default;

const ConnectLine* CItemConnectLines::GetLine(int i) const {
    if (i < 0 || i >= GetLineCount()) return nullptr;
    return m_Lines[static_cast<std::size_t>(i)].get();
}

int CItemConnectLines::FindLine(int kind, const CString& from, const CString& to) const {
    for (std::size_t i = 0; i < m_Lines.size(); ++i) {
        const ConnectLine& l = *m_Lines[i];
        if (l.kind == kind && l.from == from && l.to == to) return static_cast<int>(i);
    }
    return -1;
}

void CItemConnectLines::AddDubbing(CString from, CString to) {
    if (FindLine(ConnectLine::kDubbing, from, to) >= 0) return;
    if (!MakeLine(ConnectLine::kDubbing, from, to)) return;
    Redraw();
    SetTimer(kTimerMs);
}

void CItemConnectLines::ClearDubbing() {
    RemoveLines(ConnectLine::kDubbing);
    SetTimer(0);
}

void CItemConnectLines::AddConnect(CString from, CString to) {
    if (FindLine(ConnectLine::kConnect, from, to) >= 0) return;
    if (!MakeLine(ConnectLine::kConnect, from, to)) return;
    Redraw();
}

void CItemConnectLines::ClearConnect() {
    RemoveLines(ConnectLine::kConnect);
}

void CItemConnectLines::RemoveLines(int kind) {
    for (std::size_t i = m_Lines.size(); i-- > 0;) {
        if (m_Lines[i]->kind == kind) m_Lines.erase(m_Lines.begin() + static_cast<long>(i));
    }
}

std::vector<CPoint> CItemConnectLines::LinePoints(int x1, int y1, int x2, int y2) {
    const long long dx = std::llabs(static_cast<long long>(x1) - x2);
    const long long dy = std::llabs(static_cast<long long>(y1) - y2);
    const long long n = static_cast<long long>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    const int sx = x1 > x2 ? -1 : 1;
    const int sy = y1 > y2 ? -1 : 1;
    std::vector<CPoint> points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    points.emplace_back(x1, y1);
    for (long long k = 1; k <= n; ++k) {
        points.emplace_back(x1 + sx * static_cast<int>(dx * k / n),
                            y1 + sy * static_cast<int>(dy * k / n));
    }
    return points;
}

bool CItemConnectLines::MakeLine(int kind, const CString& from, const CString& to) {
    CQMainScreen* screen = GetMainScreen();
    // A line needs two devices to run between and a dot to draw it with.
    if (screen == nullptr || m_pDot == nullptr) return false;
    CQItem* a = screen->CQItemName2pCQItem(from);
    CQItem* b = screen->CQItemName2pCQItem(to);
    CQDeviceRole* devA = CQDeviceRole::Of(a);
    CQDeviceRole* devB = CQDeviceRole::Of(b);
    if (devA == nullptr || devB == nullptr) return false;

    // Every device at its AUDIO place while the dots are worked out.
    const int mode = screen->GetViewMode();
    screen->SetViewMode(0);
    const CRect ra = a->GetOwner()->GetWindowRect();
    const CRect rb = b->GetOwner()->GetWindowRect();
    const int w = m_pDot->GetWidth(), h = m_pDot->GetHeight();
    std::vector<CPoint> points = LinePoints((ra.left + ra.right) / 2, (ra.top + ra.bottom) / 2,
                                            (rb.left + rb.right) / 2, (rb.top + rb.bottom) / 2);
    std::vector<CRect> clear;
    for (const CRect& r : {ra, rb}) {
        CRect grown = r;
        grown.InflateRect(5, 5);
        clear.push_back(grown);
    }
    for (CQDeviceRole* dev : {devA, devB}) {
        CRect label;
        if (dev->GetLabelRect(&label)) {
            label.InflateRect(4, 4);
            clear.push_back(label);
        }
    }
    auto line = std::make_unique<ConnectLine>();
    line->kind = kind;
    line->from = from;
    line->to = to;
    std::size_t kept = 0;  // remaining points seen so far
    for (CPoint p : points) {
        p.Offset(-(w / 2), -(h / 2));
        const CRect dot(p.x, p.y, p.x + w, p.y + h);
        bool hidden = false;
        for (const CRect& r : clear) {
            CRect common;
            if (common.IntersectRect(&dot, &r)) hidden = true;
        }
        if (hidden) continue;
        if (kept++ % kDotSpacing == 0) line->dots.push_back(p);
    }
    m_Lines.push_back(std::move(line));
    screen->SetViewMode(mode);
    return true;
}

void CItemConnectLines::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                             int bottom) {
    CQMainScreen* screen = GetMainScreen();
    if (screen != nullptr && screen->GetViewMode() == 0 && m_pDot != nullptr) {
        // Dots are kept in window coordinates; the target's origin may differ.
        const CRect self = GetWindowRect();
        const int ox = x - self.left, oy = y - self.top;
        for (const auto& line : m_Lines) {
            const int n = static_cast<int>(line->dots.size());
            for (int k = 0; k < n; ++k) {
                DotLook look{GetColor(), 128};
                if (line->kind == ConnectLine::kDubbing) {
                    look = kOrdinary;
                    for (int j = 0; j < 3; ++j) {
                        if ((line->phase + j) % n == k) look = kBright[j];
                    }
                }
                m_pDot->SetOpacity(look.opacity);
                m_pDot->SetColor(look.color);
                const CPoint& p = line->dots[static_cast<std::size_t>(k)];
                m_pDot->Draw(target, p.x + ox, p.y + oy);
            }
        }
    }
    CItem::Draw(target, x, y, left, top, right, bottom);
}

void CItemConnectLines::OnItemTimer() {
    for (const auto& line : m_Lines) {
        const int n = static_cast<int>(line->dots.size());
        if (n > 0) line->phase = (line->phase + 1) % n;
    }
    Redraw();
}
