// The one place where the item classes above the frame name the sections
// they read. The frame reaches it through RegisterSections, so the frame
// never includes calendar/ or devices/, and the calendar and the devices
// never include each other.
#include "frame/SectionTable.h"

#include "calendar/ItemBalloonHelp.h"
#include "calendar/QItemCal.h"
#include "devices/ItemConnectLines.h"
#include "devices/ItemDragFrame.h"
#include "devices/QItemCalScrollButton.h"
#include "devices/QItemChange.h"
#include "devices/QItemDevice.h"
#include "devices/QItemGoToday.h"
#include "devices/QItemNewmake.h"
#include "devices/QItemSlotButton.h"
#include "devices/QItemTrash.h"

namespace quillon {
namespace frame {

void RegisterSections() {
    SetSectionFactory("CALENDAR", &MakeSectionItem<CQItemCal>);
    SetSectionFactory("CALENDARBALLOONHELP", &MakeSectionItem<CItemBalloonHelp>);
    SetSectionFactory("CALENDARSCROLLBUTTON", &MakeSectionItem<CQItemCalScrollButton>);
    SetSectionFactory("CHANGE", &MakeSectionItem<CQItemChange>);
    SetSectionFactory("DEVICE", &MakeSectionItem<CQItemDevice>);
    SetSectionFactory("DRAGINGITEMFRAME", &MakeSectionItem<CItemDragFrame>);
    SetSectionFactory("GOTODAYBUTTON", &MakeSectionItem<CQItemGoToday>);
    SetSectionFactory("NEWMAKE", &MakeSectionItem<CQItemNewmake>);
    SetSectionFactory("SLOTBUTTON", &MakeSectionItem<CQItemSlotButton>);
    SetSectionFactory("TOP", &MakeSectionItem<CItemConnectLines>);
    SetSectionFactory("TRASH", &MakeSectionItem<CQItemTrash>);
}

}  // namespace frame
}  // namespace quillon
