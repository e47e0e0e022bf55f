// The main screen's dealings with its items: the item table and lookup by
// name, view mode, background, colours, the calendar's window, sound
// effects, the opening animation, and destruction in the order the tree
// needs.
#include <quillon/QMainScreen.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "frame/ItemBackground.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"
#include "frame/QMainWnd.h"
#include "platform/Sound.h"

CQMainScreen::~CQMainScreen() {
    // Each item leaves its parent and the timer list as it goes, so the
    // background and the window must outlive them.
    CTypedPtrArray<CPtrArray, CQItem*> items;
    GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) delete items[i];
    delete m_pBackground;
    m_pBackground = nullptr;
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
}

CWnd* CQMainScreen::GetpCWnd() const {
    // A window that could not be made (no parent) is no window to the host.
    if (m_pMainWnd == nullptr || m_pMainWnd->GetSafeHwnd() == nullptr) return nullptr;
    return m_pMainWnd;
}

CItem* CQMainScreen::GetRootItem() const {
    return m_pBackground;
}

void CQMainScreen::GetTblpCQItem(CTypedPtrArray<CPtrArray, CQItem*>* out) {
    out->RemoveAll();
    auto addAll = [out](const CTypedPtrArray<CPtrArray, CQItem*>& list) {
        for (int i = 0; i < list.GetSize(); ++i) {
            if (list[i] != nullptr) out->Add(list[i]);
        }
    };
    auto addOne = [out](CQItem* item) {
        if (item != nullptr) out->Add(item);
    };
    addAll(m_Devices);
    addAll(m_SlotButtons);
    addOne(m_pCalendar);
    addAll(m_CalScrollButtons);
    addOne(m_pBalloonHelp);
    addOne(m_pTrash);
    addOne(m_pChange);
    addOne(m_pNewmake);
    addOne(m_pGoToday);
    addOne(m_pDragFrame);
    addOne(m_pTop);
}

CQItem* CQMainScreen::CQItemName2pCQItem(CString name) {
    CTypedPtrArray<CPtrArray, CQItem*> items;
    GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) {
        if (_mbscmp(items[i]->GetName(), name) == 0) return items[i];
    }
    return nullptr;
}

void CQMainScreen::AllRedraw(bool now) {
    if (m_pBackground != nullptr) m_pBackground->Redraw(nullptr, now);
}

bool CQMainScreen::SetDrawBgMode(int mode) {
    if (mode != 0 && mode != 1) return false;
    m_nDrawBgMode = mode;
    AllRedraw(false);
    return true;
}

bool CQMainScreen::SetViewMode(int mode) {
    if (mode < 0 || mode > 3) return false;
    m_nViewMode = mode;
    CTypedPtrArray<CPtrArray, CQItem*> items;
    GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) items[i]->OnViewModeChanged(mode);
    AllRedraw(false);
    return true;
}

bool CQMainScreen::ChangeBgBmp(CString path) {
    if (m_pBackground == nullptr) return false;  // no description, no background
    bool loaded = m_pBackground->LoadPicture(path);
    if (!loaded) MessageBoxNoOwner(path, "FileError");
    // Also after a failure: the picture that was shown is gone.
    m_pBackground->Redraw();
    return loaded;
}

CString CQMainScreen::GetBgBmp() const {
    return m_pBackground != nullptr ? m_pBackground->GetPictureName() : CString();
}

void CQMainScreen::ChangeColor(COLORREF color) {
    m_crNormal = color;
    CTypedPtrArray<CPtrArray, CQItem*> items;
    GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) items[i]->OnColorChanged();
}

void CQMainScreen::ChangeSelectColor(COLORREF color) {
    m_crSelect = color;
    CTypedPtrArray<CPtrArray, CQItem*> items;
    GetTblpCQItem(&items);
    for (int i = 0; i < items.GetSize(); ++i) items[i]->OnColorChanged();
}

void CQMainScreen::ChangeCalendarDrawTimeRect(CTime begin, CTime end) {
    CQCalendarRole* calendar = CQCalendarRole::Of(m_pCalendar);
    if (calendar == nullptr) return;
    if (begin >= end) end += CTimeSpan(86400);
    calendar->SetDrawTimeRect(CTimeRect(begin, end));
}

void CQMainScreen::GetCalendarDrawTimeRect(CTime* begin, CTime* end) {
    CQCalendarRole* calendar = CQCalendarRole::Of(m_pCalendar);
    if (calendar == nullptr) return;
    CTimeRect r = calendar->GetDrawTimeRect();
    if (begin != nullptr) *begin = r.GetBegin();
    if (end != nullptr) *end = r.GetEnd();
}

// A number that is no weekday is kept too: the week jumps then show the
// date itself, the scroll buttons step a whole week.
void CQMainScreen::SetCalendarBeginWeek(int weekday) {
    m_nCalendarBeginWeek = weekday;
}

bool CQMainScreen::SetScheduleDrawDay(CTime day) {
    CQCalendarRole* calendar = CQCalendarRole::Of(m_pCalendar);
    return calendar != nullptr && calendar->ScrollToDay(day, nullptr);
}

void CQMainScreen::SeOn(bool on) {
    m_bSe = on;
}

bool CQMainScreen::PlayWav(CString file) {
    if (!m_bSe) return true;
    return PlaySound(file, nullptr, SND_FILENAME | SND_NODEFAULT | SND_ASYNC) != FALSE;
}

bool CQMainScreen::IsCalendarCItem(CItem* item) {
    if (item == nullptr) return false;
    CStringArray chain;
    item->GetClassNameChain(&chain);
    for (int i = 0; i < chain.GetSize(); ++i) {
        if (_mbscmp(chain[i], "CQItemCal") == 0 || _mbscmp(chain[i], "CQItemCalDay") == 0)
            return true;
    }
    return false;
}

int CQMainScreen::Ease(int from, int to, int i, int steps, int curve) {
    // 64-bit throughout: the distance between two ints needs 32 bits
    // unsigned, and v * v stays below 2^64 because v <= d.
    const std::uint64_t d = to >= from ? static_cast<std::uint64_t>(std::int64_t{to} - from)
                                       : static_cast<std::uint64_t>(std::int64_t{from} - to);
    if (d == 0) return from;
    if (steps <= 0) return to;
    const std::uint64_t step = static_cast<std::uint64_t>(std::clamp(i, 0, steps));
    std::uint64_t v = d * step / static_cast<std::uint64_t>(steps);
    // More than a few rounds change nothing visible; the bound keeps an
    // absurd curve from spinning.
    const int rounds = std::min(curve >= 0 ? curve : -(curve + 1) + 1, 64);
    for (int k = 0; k < rounds; ++k) v = curve >= 1 ? v * v / d : 2 * v - v * v / d;
    const std::int64_t r = to >= from ? std::int64_t{from} + static_cast<std::int64_t>(v)
                                      : std::int64_t{from} - static_cast<std::int64_t>(v);
    return static_cast<int>(r);
}

void CQMainScreen::Opening() {
    constexpr int kSteps = 70;
    BeginWaitCursor();
    struct Flight {
        CItem* item;
        CQDeviceRole* device;
        CPoint from;
        CPoint to;
        int width;
        int height;
    };
    std::vector<Flight> flights;
    const CRect bg = m_pBackground != nullptr ? m_pBackground->GetRect() : CRect();
    const CPoint centre = bg.CenterPoint();
    for (int i = 0; i < m_Devices.GetSize(); ++i) {
        CQItem* device = m_Devices[i];
        const ViewPlacement* place = device->GetViewPlacement(0);
        CItem* item = device->GetOwner();
        if (!place->visible || item == nullptr) continue;
        Flight f{item,
                 CQDeviceRole::Of(device),
                 CPoint(),
                 place->rect.TopLeft(),
                 place->rect.Width(),
                 place->rect.Height()};
        f.from = CPoint(centre.x - f.width / 2, centre.y - f.height / 2);
        item->SetRect(CRect(f.from.x, f.from.y, f.from.x + f.width, f.from.y + f.height));
        item->SetVisible(true);
        if (f.device != nullptr) f.device->SetFadeLevel(0);
        flights.push_back(f);
    }
    for (int step = 0; step <= kSteps; ++step) {
        // Paints and timers only: input waits until the animation is over.
        const DWORD start = timeGetTime();
        while (timeGetTime() - start < 10) {
            AllRedraw(true);
            MSG msg;
            if (PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE) ||
                PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
        }
        const int fade = std::clamp(Ease(0, 256, step, kSteps, 0), 0, 256);
        for (const Flight& f : flights) {
            const int x = Ease(f.from.x, f.to.x, step, kSteps, -1);
            const int y = Ease(f.from.y, f.to.y, step, kSteps, -1);
            f.item->SetRect(CRect(x, y, x + f.width, y + f.height));
            if (f.device != nullptr) f.device->SetFadeLevel(fade);
        }
    }
    for (int i = 0; i < m_Devices.GetSize(); ++i) {
        if (CQDeviceRole* device = CQDeviceRole::Of(m_Devices[i])) device->SetFadeLevel(256);
    }
    // Every item back in its placement for the mode.
    SetViewMode(m_nViewMode);
    EndWaitCursor();
}

int CQMainScreen::GetEmptySlotNo() {
    // In the order of the buttons, not of the numbers: the description
    // decides which slot is offered first.
    for (int i = 0; i < m_SlotButtons.GetSize(); ++i) {
        CQSlotButtonRole* button = CQSlotButtonRole::Of(m_SlotButtons[i]);
        if (button == nullptr) continue;
        int slot = button->GetSlotNo();
        if (SlotNo2TblProgNo(slot) < 0) return slot;
    }
    return -1;
}

bool CQMainScreen::SetProgDefaultTime(CString name, CTimeSpan length) {
    CQDeviceRole* device = CQDeviceRole::Of(CQItemName2pCQItem(name));
    if (device == nullptr) return false;
    device->SetDefaultLength(length);
    return true;
}

void CQMainScreen::SlotBtnOrderNormalize() {
    CItem* selected = nullptr;
    for (int i = 0; i < m_SlotButtons.GetSize(); ++i) {
        CQItem* item = m_SlotButtons[i];
        CQSlotButtonRole* button = CQSlotButtonRole::Of(item);
        if (item == nullptr || button == nullptr) continue;
        int slot = button->GetSlotNo();
        if (SlotNo2TblProgNo(slot) >= 0 && item->GetOwner() != nullptr) {
            item->GetOwner()->BringToFront();
            if (slot == m_nSelectSlot) selected = item->GetOwner();
        }
        button->UpdateToolHint();
    }
    // The selected program's button lies above the other occupied ones, and
    // the connection lines above everything.
    if (selected != nullptr) selected->BringToFront();
    if (m_pTop != nullptr && m_pTop->GetOwner() != nullptr) m_pTop->GetOwner()->BringToFront();
}

void CQMainScreen::CalendarRebuildDays() {
    if (CQCalendarRole* calendar = CQCalendarRole::Of(m_pCalendar)) calendar->RebuildDays();
}
