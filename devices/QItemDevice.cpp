#include "devices/QItemDevice.h"

#include <quillon/QMainScreen.h>

#include <climits>
#include <cstdint>

#include "devices/HintFormat.h"
#include "devices/ItemDragFrame.h"
#include "frame/IniFile.h"
#include "frame/ItemAnimation.h"
#include "frame/QMainScreenInternal.h"
#include "frame/QMainWnd.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "platform/Cursor.h"
#include "schedule/Rules.h"

namespace {

constexpr COLORREF kShadowBlack = 0x00000000;
constexpr COLORREF kAlternateRed = 0x000000FF;

CQItemButton::Style DeviceStyle() {
    CQItemButton::Style s;
    s.createBeforeKeys = true;
    s.animated = false;  // two sets of its own
    s.dimBackground = true;
    return s;
}

bool Is(const CString& a, const char* b) {
    return _mbscmp(a, b) == 0;
}

bool In(const std::vector<int>& list, int v) {
    for (int x : list)
        if (x == v) return true;
    return false;
}

void Split(const CString& text, char sep, CStringArray* out) {
    const char* s = text;
    const char* start = s;
    for (;; ++s) {
        if (*s == sep || *s == '\0') {
            out->Add(CString(start, static_cast<int>(s - start)));
            if (*s == '\0') return;
            start = s + 1;
        }
    }
}

// "1,2,3": the numbers; a token that is no number is skipped.
std::vector<int> IntList(const CString& text) {
    std::vector<int> out;
    CStringArray parts;
    Split(text, ',', &parts);
    for (int i = 0; i < parts.GetSize(); ++i) {
        int v = 0;
        if (CIniFile::ScanInts(parts[i], &v, 1) == 1) out.push_back(v);
    }
    return out;
}

// What the drawing table picks: an icon mode (0 still, 1 animation, 2
// mute, -1 none) and a colour (0 normal, 1 select, 2 gray).
struct Look {
    int mode;
    int color;
};

Look LookFor(const CString& name, bool enabled, int buttonState, int state, bool mute) {
    const bool speaker = Is(name, "SPEAKER");
    const bool opt = Is(name, "OPT IN") || Is(name, "OPT OUT");
    const bool known = Is(name, "CD/DVD") || Is(name, "MD") || Is(name, "FM TUNER") ||
                       Is(name, "SOUND CHIP") || Is(name, "NKX") || speaker || opt;
    if (!known) return {-1, 0};
    if (!enabled) return {speaker && mute ? 2 : 0, 2};
    if (buttonState == 1) return {1, 0};
    if (buttonState == 2) return {1, 1};
    if (buttonState == 3) return opt ? Look{-1, 0} : Look{1, 1};
    if (speaker) return {mute ? 2 : 0, 0};
    if (opt) return {0, 0};
    if (Is(name, "CD/DVD") || Is(name, "MD")) {
        if (state == 0) return {0, 2};
        if (state == 1 || state == 3) return {0, 0};
        if (state == 2 || state == 4 || state == 5 || (state == 6 && Is(name, "MD"))) return {1, 0};
        return {-1, 0};
    }
    if (Is(name, "FM TUNER")) {
        if (state == 0) return {0, 0};
        if (state == 1 || state == 2) return {1, 0};
        return {-1, 0};
    }
    if (Is(name, "SOUND CHIP")) return state == 0 || state == 1 ? Look{0, 0} : Look{-1, 0};
    // NKX
    if (state == 0) return {0, 2};
    if (state == 1) return {0, 0};
    return {-1, 0};
}

}  // namespace

CQItemDevice::CQItemDevice(CQMainScreen* screen, CIniFile* ini)
    : CQItemButton(screen, DeviceStyle()) {
    for (DeviceIconSet& set : m_Sets) set.animation = std::make_unique<CItemAnimation>();
    ReadSection(ini);
}

// The sets' animations go first, while this item is still their parent.
CQItemDevice::~CQItemDevice() {
    for (DeviceIconSet& set : m_Sets) set.animation.reset();
}

void CQItemDevice::GetClassNameChain(CStringArray* out) {
    CItemButton::GetClassNameChain(out);
    out->Add("CQItemDevice");
}

// The sets' animations join the tree with the device, before the first key.
void CQItemDevice::OnItemsCreated() {
    for (DeviceIconSet& set : m_Sets) set.animation->Create(this, 0, 0, 10, 10);
}

bool CQItemDevice::OnSectionKey(const CStringArray& tokens, int /*view*/) {
    const int n = tokens.GetSize();
    const CString& first = tokens[0];
    if ((Is(first, "L") || Is(first, "S")) && n >= 3) {
        const int which = Is(first, "L") ? kLarge : kSmall;
        ReadSetKey(m_Sets[which], which, tokens[1], tokens[2]);
    } else if (Is(first, "TOOLHINT") && n >= 3) {
        DeviceToolHint rule;
        rule.text = tokens[2];
        CStringArray items;
        Split(tokens[1], ',', &items);
        for (int i = 0; i < items.GetSize(); ++i) {
            CStringArray pair;
            Split(items[i], ':', &pair);
            if (pair.GetSize() < 2) continue;
            int view = -2;
            if (Is(pair[0], "ALL")) view = -1;
            if (Is(pair[0], "A")) view = 0;
            if (Is(pair[0], "L")) view = 1;
            if (Is(pair[0], "T")) view = 2;
            int state = 0;
            // A view it does not know, or a state that is no number: the pair
            // matches nothing.
            if (view == -2 || CIniFile::ScanInts(pair[1], &state, 1) != 1) continue;
            rule.pairs.push_back({view, state});
        }
        m_ToolHints.push_back(rule);
    } else if (Is(first, "DRAG") && n >= 4) {
        m_DragRules.push_back({tokens[1], IntList(tokens[2]), IntList(tokens[3])});
        AddDragArea(DragArea());
    }
    // Any other line is no key of a device: ignored.
    return true;
}

bool CQItemDevice::ReadSetKey(DeviceIconSet& set, int which, const CString& key,
                              const CString& value) {
    if (Is(key, "ICON")) {
        set.still = LoadPicture(value);
    } else if (Is(key, "ICONANIME")) {
        const CString path = GetPictureDirectory() + value;
        if (!set.animation->AddFrame(path)) MessageBoxNoOwner(path, "Error");
        // The first frame sizes the placements of its views; one that did
        // not load leaves them as they were.
        CMaskPicture* frame = set.animation->GetFrame();
        if (set.animation->GetFrameCount() <= 1 && frame != nullptr) {
            if (which == kLarge) {
                SizePlacements(0, 0, frame->GetWidth(), frame->GetHeight());
            } else {
                SizePlacements(1, 2, frame->GetWidth(), frame->GetHeight());
            }
        }
    } else if (Is(key, "ANIMEORDER")) {
        set.animation->SetOrder(value);
    } else if (Is(key, "ANIMESPEED")) {
        set.animation->SetPeriod(ParseIntKey(value));
    } else if (Is(key, "MUTEICON")) {
        set.mute = LoadPicture(value);
    } else if (Is(key, "DEVICENAME")) {
        set.names.push_back(LoadPicture(value));
    } else if (Is(key, "STATE")) {
        set.states.push_back(LoadPicture(value));
    } else {
        return false;
    }
    return true;
}

DeviceIconSet& CQItemDevice::GetIconSet() {
    const CQMainScreen* screen = GetMainScreen();
    const int mode = screen != nullptr ? screen->GetViewMode() : 0;
    return m_Sets[mode == 0 || mode == 3 ? kLarge : kSmall];
}

const DeviceIconSet& CQItemDevice::GetIconSet() const {
    return const_cast<CQItemDevice*>(this)->GetIconSet();
}

CMaskPicture* CQItemDevice::GetIcon(int mode) {
    const bool wasRunning = m_bAnimating;
    m_bAnimating = mode == 1;
    for (DeviceIconSet& set : m_Sets) {
        set.animation->Run(m_bAnimating);
        if (wasRunning && !m_bAnimating) set.animation->Rewind();
    }
    DeviceIconSet& set = GetIconSet();
    if (mode == 1) return set.animation->GetFrame();
    if (mode == 2) return set.mute.get();
    return set.still.get();
}

CMaskPicture* CQItemDevice::GetNamePicture(CRect* rect, bool* alternate) const {
    const DeviceIconSet& set = GetIconSet();
    const bool alt = Is(GetName(), "MD") && (m_nState == 5 || m_nState == 6);
    const std::size_t index = alt ? 1 : 0;
    if (alternate != nullptr) *alternate = alt;
    CMaskPicture* picture = index < set.names.size() ? set.names[index].get() : nullptr;
    if (picture == nullptr) {
        if (rect != nullptr) rect->SetRectEmpty();
        return nullptr;
    }
    if (rect != nullptr) {
        const CRect& me = GetRect();
        const int left = me.left + (me.Width() / 2 - picture->GetWidth() / 2);
        *rect =
            CRect(left, me.bottom, left + picture->GetWidth(), me.bottom + picture->GetHeight());
    }
    return picture;
}

bool CQItemDevice::GetLabelRect(CRect* out) const {
    CRect r;
    if (GetNamePicture(&r) == nullptr) return false;
    // Root coordinates are window coordinates less the root's own place.
    const CItem* root = GetParent();
    if (root != nullptr) {
        const CRect rw = root->GetWindowRect();
        r.OffsetRect(rw.left, rw.top);
    }
    if (out != nullptr) *out = r;
    return true;
}

CMaskPicture* CQItemDevice::GetStatePicture(CRect* rect) const {
    const DeviceIconSet& set = GetIconSet();
    const CRect& me = GetRect();
    CMaskPicture* picture = nullptr;
    CRect r;
    if (Is(GetName(), "SOUND CHIP") && m_nState == 1 && !set.states.empty()) {
        picture = set.states[0].get();
        // Under the label, or under the device when it has none.
        CRect under;
        if (GetNamePicture(&under) == nullptr) under = me;
        const int left = under.left + (under.Width() / 2 - picture->GetWidth() / 2);
        r = CRect(left, under.bottom, left + picture->GetWidth(),
                  under.bottom + picture->GetHeight());
    } else if (Is(GetName(), "SPEAKER") && m_nState >= 0 &&
               static_cast<std::size_t>(m_nState) < set.states.size()) {
        picture = set.states[static_cast<std::size_t>(m_nState)].get();
        const int top = me.top + (me.Height() / 2 - picture->GetHeight() / 2);
        r = CRect(me.right, top, me.right + picture->GetWidth(), top + picture->GetHeight());
    }
    if (rect != nullptr) *rect = picture != nullptr ? r : CRect();
    return picture;
}

void CQItemDevice::Draw(CDibPicture* target, int x, int y, int left, int top, int right,
                        int bottom) {
    const Look look = LookFor(GetName(), IsEnabled(), GetButtonState(), m_nState, m_bMute);
    COLORREF color = GetColor();
    if (look.color == 1) color = GetSelectColor();
    // Without an icon the label and state picture still show the enabled flag.
    if (look.color == 2 || (look.mode < 0 && !IsEnabled())) color = GetGrayColor();
    CMaskPicture* icon = look.mode >= 0 ? GetIcon(look.mode) : nullptr;
    if (icon != nullptr) {
        icon->SetColor(color);
        icon->Draw(target, x, y);
    }
    // The label and the state picture stand outside the device, in the
    // root's coordinates: the origin of those in the target.
    const int ox = x - GetRect().left, oy = y - GetRect().top;
    CRect r;
    bool alternate = false;
    if (CMaskPicture* label = GetNamePicture(&r, &alternate)) {
        if (alternate) {
            label->SetColor(kShadowBlack);
            label->Draw(target, ox + r.left + 2, oy + r.top + 2);
            label->SetColor(kAlternateRed);
        } else {
            label->SetColor(color);
        }
        label->Draw(target, ox + r.left, oy + r.top);
    }
    if (CMaskPicture* state = GetStatePicture(&r)) {
        state->SetColor(color);
        state->Draw(target, ox + r.left, oy + r.top);
    }
    CItem::Draw(target, x, y, left, top, right, bottom);
}

void CQItemDevice::UpdateToolHint() {
    const CQMainScreen* screen = GetMainScreen();
    const int view = screen != nullptr ? screen->GetViewMode() : 0;
    for (const DeviceToolHint& rule : m_ToolHints) {
        for (const DeviceToolHint::Pair& p : rule.pairs) {
            if ((p.view == -1 || p.view == view) && (p.state < 0 || p.state == m_nState)) {
                SetToolHint(FormatHint(rule.text, {static_cast<const char*>(m_strDeviceText)}));
                return;
            }
        }
    }
}

void CQItemDevice::SetState(int state, CString text) {
    m_nState = state;
    m_strDeviceText = text;
    UpdateToolHint();
    if (CQMainScreen* screen = GetMainScreen()) screen->AllRedraw(false);
}

void CQItemDevice::SetMute(bool mute) {
    m_bMute = mute;
    UpdateToolHint();
    if (CQMainScreen* screen = GetMainScreen()) screen->AllRedraw(false);
}

bool CQItemDevice::SetFadeLevel(int level) {
    for (DeviceIconSet& set : m_Sets) {
        if (set.still) set.still->SetOpacity(level);
        if (set.mute) set.mute->SetOpacity(level);
        set.animation->SetOpacity(level);
        for (auto& p : set.names) p->SetOpacity(level);
        for (auto& p : set.states) p->SetOpacity(level);
    }
    return true;
}

int CQItemDevice::GetProgKind() const {
    const CString name = GetName();
    if (Is(name, "CD/DVD")) return 0;
    if (Is(name, "MD")) return 1;
    if (Is(name, "FM TUNER")) return 2;
    if (Is(name, "NKX")) return 3;
    return CQProg().GetKind();
}

void CQItemDevice::OnViewModeChanged(int mode) {
    const ViewPlacement* p = GetViewPlacement(mode);
    if (p != nullptr) {
        SetVisible(p->visible);
        SetRect(p->rect);
    }
    UpdateToolHint();
    Redraw();
}

CPoint CQItemDevice::ToWindow(int x, int y) const {
    const CRect r = GetWindowRect();
    return CPoint(r.left + x, r.top + y);
}

void CQItemDevice::OnMouseEnter(UINT flags, int x, int y, CItem* captured) {
    if (CQMainScreen* screen = GetMainScreen()) screen->PlayWav(screen->GetSeMouseOver());
    CQItemButton::OnMouseEnter(flags, x, y, captured);
}

void CQItemDevice::OnLButtonDown(UINT flags, int x, int y) {
    if (CQMainScreen* screen = GetMainScreen()) screen->AllRedraw(false);
    CQItemButton::OnLButtonDown(flags, x, y);
}

void CQItemDevice::OnLButtonUp(UINT flags, int x, int y) {
    if (CQMainScreen* screen = GetMainScreen()) screen->AllRedraw(false);
    CQItemButton::OnLButtonUp(flags, x, y);
}

void CQItemDevice::OnButtonClick(UINT flags, int x, int y) {
    CQMainScreen* screen = GetMainScreen();
    if (screen == nullptr) return;
    screen->PlayWav(screen->GetSeClick());
    screen->OnClick(GetName(), flags, ToWindow(x, y));
}

// The host's callback may delete the device (a new description): the
// forwarding that follows only runs while it is still there.
void CQItemDevice::OnLButtonDblClk(UINT flags, int x, int y) {
    CItemRef self(this);
    if (CQMainScreen* screen = GetMainScreen())
        screen->OnLButtonDblClk(GetName(), flags, ToWindow(x, y));
    if (self.IsAlive()) CQItemButton::OnLButtonDblClk(flags, x, y);
}

void CQItemDevice::OnRButtonDown(UINT flags, int x, int y) {
    CItemRef self(this);
    if (CQMainScreen* screen = GetMainScreen())
        screen->OnRButtonDown(GetName(), flags, ToWindow(x, y));
    if (self.IsAlive()) CQItemButton::OnRButtonDown(flags, x, y);
}

void CQItemDevice::OnRButtonUp(UINT flags, int x, int y) {
    CItemRef self(this);
    if (CQMainScreen* screen = GetMainScreen())
        screen->OnRButtonUp(GetName(), flags, ToWindow(x, y));
    if (self.IsAlive()) CQItemButton::OnRButtonUp(flags, x, y);
}

void CQItemDevice::OnBeginDrag(DragArea /*area*/) {
    CQMainScreen* screen = GetMainScreen();
    if (screen == nullptr) return;
    screen->PlayWav(screen->GetSeDragDrop());
    const CPoint press = GetPressPoint();
    if (auto* frame = dynamic_cast<CItemDragFrame*>(CQMainScreenInternal::GetDragFrame(*screen))) {
        frame->SetAnimation(GetIconSet().animation.get());
        CPoint at(0, 0);
        if (CQMainWnd* wnd = GetMainWnd()) {
            const MouseEventRec& m = wnd->GetLastMouseEvent();
            at = CPoint(m.x, m.y);
        }
        frame->SetPos(at.x - press.x, at.y - press.y);
        frame->SetVisible(true);
        frame->Redraw();
    }
    // Until the drop every item shows whether it can take this device.
    CTypedPtrArray<CPtrArray, CQItem*> items;
    screen->GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) {
        CQItem* item = items[i];
        if (item != nullptr) item->SetEnabled(CanDropOn(item->GetOwner(), INT_MIN, INT_MIN));
    }
}

void CQItemDevice::OnMouseMove(UINT flags, int x, int y, CItem* captured) {
    CQMainScreen* screen = GetMainScreen();
    CQMainWnd* wnd = GetMainWnd();
    if (IsDragging() && captured == this && screen != nullptr && wnd != nullptr) {
        const CPoint at = ToWindow(x, y);
        const CPoint press = GetPressPoint();
        if (auto* frame =
                dynamic_cast<CItemDragFrame*>(CQMainScreenInternal::GetDragFrame(*screen)))
            frame->SetPos(at.x - press.x, at.y - press.y);
        CItemRef self(this);
        POINT local;
        CItem* under =
            wnd->GetRootItem() != nullptr ? wnd->GetRootItem()->HitTest(at, &local) : nullptr;
        // The proposal is made once a move: over the calendar it is also
        // what CanDropOn would ask.
        CQProg proposal;
        const int r = MakeDropProgram(at.x, at.y, &proposal);
        const bool allowed =
            CQMainScreen::IsCalendarCItem(under) ? r == 0 : CanDropOn(under, at.x, at.y);
        if (allowed) {
            wnd->ResetItemCursor();
        } else {
            wnd->SetItemCursor(LoadCursor(nullptr, IDC_NO));
        }
        if (CQCalendarRole* cal = GetCalendar()) {
            cal->EndProgDrag();
            // Drawn on the calendar also when it overlaps or breaks a rule.
            if (r == 0 || r == -4 || r == -5) {
                CalDragInfo info;
                info.initial = proposal;
                info.changed = proposal;
                info.grip = -1;
                info.shown = true;
                cal->BeginProgDrag(info);
            }
        }
        if (!self.IsAlive()) return;
    }
    CQItemButton::OnMouseMove(flags, x, y, captured);
}

void CQItemDevice::OnEndDrag(int /*x*/, int /*y*/) {
    CQMainScreen* screen = GetMainScreen();
    if (screen == nullptr) return;
    if (auto* frame = dynamic_cast<CItemDragFrame*>(CQMainScreenInternal::GetDragFrame(*screen)))
        frame->ClearAnimation();
    CTypedPtrArray<CPtrArray, CQItem*> items;
    screen->GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) {
        if (items[i] != nullptr) items[i]->SetEnabled(true);
    }
    if (CQMainWnd* wnd = GetMainWnd()) wnd->ResetItemCursor();
    if (CQCalendarRole* cal = GetCalendar()) cal->EndProgDrag();
}

void CQItemDevice::OnDropIn(UINT flags, int x, int y, CItem* dragged) {
    auto* device = dynamic_cast<CQItemDevice*>(dragged);
    if (device == nullptr || dragged == nullptr || !dragged->IsKindOf("CQItemDevice")) return;
    const CPoint at = ToWindow(x, y);
    if (!device->CanDropOn(this, at.x, at.y)) return;
    if (CQMainScreen* screen = GetMainScreen())
        screen->OnDropOut(GetName(), flags, at, device->GetName());
}

bool CQItemDevice::CanDropOn(CItem* target, int x, int y) {
    if (target == nullptr) return false;
    if (target->IsKindOf("CQItemDevice")) {
        CQDeviceRole* other = CQDeviceRole::Of(target);
        if (other == nullptr) return false;
        for (const DeviceDragRule& rule : m_DragRules) {
            if (rule.target == other->GetDeviceName() && In(rule.sources, m_nState) &&
                In(rule.targets, other->GetState()))
                return true;
        }
        return false;
    }
    CQMainScreen* screen = GetMainScreen();
    if (screen == nullptr) return false;
    if (target->IsKindOf("CQItemNewmake")) return screen->GetEmptySlotNo() >= 0;
    if (CQMainScreen::IsCalendarCItem(target)) return MakeDropProgram(x, y, nullptr) == 0;
    return false;
}

int CQItemDevice::MakeDropProgram(int x, int y, CQProg* out) {
    CQProg p;
    auto result = [&](int code) {
        if (out != nullptr) *out = p;
        return code;
    };
    CQMainScreen* screen = GetMainScreen();
    CQMainWnd* wnd = GetMainWnd();
    CItem* root = wnd != nullptr ? wnd->GetRootItem() : nullptr;
    // No point (the drag's start) finds nothing.
    if (screen == nullptr || root == nullptr || x == INT_MIN || y == INT_MIN) return result(-1);
    POINT local;
    CItem* under = root->HitTest(CPoint(x, y), &local);
    CQItem* calItem = CQMainScreenInternal::GetCalendar(*screen);
    CQCalendarRole* cal = CQCalendarRole::Of(calItem);
    if (!CQMainScreen::IsCalendarCItem(under) || cal == nullptr) return result(-1);
    const CRect calRect = calItem->GetOwner()->GetWindowRect();
    CTime t;
    if (!cal->PointToTime(x - calRect.left, y - calRect.top, &t)) return result(-2);
    const int slot = screen->GetEmptySlotNo();
    if (slot < 0) return result(-3);
    p.SetSlotNo(slot);
    p.SetTime(t, t + m_DefaultLength);
    if (Is(GetName(), "CD/DVD") || Is(GetName(), "MD") || Is(GetName(), "FM TUNER") ||
        Is(GetName(), "NKX"))
        p.SetKind(GetProgKind());
    if (screen->ChkOverlapProg(p) != 0) return result(-4);
    if (ChkProgTime(p) < 0) return result(-5);
    return result(0);
}
