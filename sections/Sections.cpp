// The one place where the item classes above the frame name the sections
// they read. The frame reaches it through RegisterSections, so the frame
// never includes calendar/ or devices/, and the calendar and the devices
// never include each other.
#include "frame/SectionTable.h"

#include "calendar/ItemBalloonHelp.h"
#include "calendar/QItemCal.h"

namespace quillon {
namespace frame {

void RegisterSections() {
    SetSectionFactory("CALENDAR", &MakeSectionItem<CQItemCal>);
    SetSectionFactory("CALENDARBALLOONHELP", &MakeSectionItem<CItemBalloonHelp>);
}

}  // namespace frame
}  // namespace quillon
