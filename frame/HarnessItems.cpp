// The harness's look-up of items by name. It lives with the items so that
// the platform layer below knows nothing of them.
#include <quillon/testing.h>

#include "frame/Item.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"
#include "frame/QMainScreenInternal.h"
#include "frame/QMainWnd.h"

namespace quillon {
namespace testing {

namespace {

// Window coordinates are the host window's client coordinates; input goes
// to the top-level window the host window sits in.
CPoint InParent(CItem* owner, POINT p) {
    CWnd* host = owner->GetMainWnd();
    if (host == nullptr || host->GetSafeHwnd() == nullptr) return CPoint(-1, -1);
    host->ClientToScreen(&p);
    host->GetTopLevelParent()->ScreenToClient(&p);
    return CPoint(p);
}

}  // namespace

CPoint Harness::ItemCenter(CQMainScreen& screen, const char* name) {
    CQItem* item = screen.CQItemName2pCQItem(CString(name));
    if (item == nullptr || item->GetOwner() == nullptr) return CPoint(-1, -1);
    return InParent(item->GetOwner(), item->GetOwner()->GetWindowRect().CenterPoint());
}

CPoint Harness::CalendarPoint(CQMainScreen& screen, CTime t) {
    CQItem* item = CQMainScreenInternal::GetCalendar(screen);
    CQCalendarRole* calendar = CQCalendarRole::Of(item);
    CPoint at;
    if (calendar == nullptr || item->GetOwner() == nullptr || !calendar->TimeToPoint(t, &at))
        return CPoint(-1, -1);
    if (CItem* row = calendar->GetDayAtY(at.y)) at.y += row->GetRect().Height() / 2;
    // The calendar's own coordinates, then the window's.
    const CRect cal = item->GetOwner()->GetWindowRect();
    at.Offset(cal.left, cal.top);
    return InParent(item->GetOwner(), at);
}

}  // namespace testing
}  // namespace quillon
