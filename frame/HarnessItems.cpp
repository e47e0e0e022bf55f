// The harness's look-up of items by name. It lives with the items so that
// the platform layer below knows nothing of them.
#include <quillon/testing.h>

#include "frame/Item.h"
#include "frame/QItem.h"
#include "frame/QMainWnd.h"

namespace quillon {
namespace testing {

CPoint Harness::ItemCenter(CQMainScreen& screen, const char* name) {
    CQItem* item = screen.CQItemName2pCQItem(CString(name));
    if (item == nullptr || item->GetOwner() == nullptr) return CPoint(-1, -1);
    CItem* owner = item->GetOwner();
    CWnd* host = owner->GetMainWnd();
    if (host == nullptr || host->GetSafeHwnd() == nullptr) return CPoint(-1, -1);
    // Window coordinates are the host window's client coordinates; input
    // goes to the top-level window the host window sits in.
    POINT p = owner->GetWindowRect().CenterPoint();
    host->ClientToScreen(&p);
    host->GetTopLevelParent()->ScreenToClient(&p);
    return CPoint(p);
}

}  // namespace testing
}  // namespace quillon
