// The one place where the item classes above the frame name the sections
// they read. The frame reaches it through RegisterSections, so the frame
// never includes calendar/ or devices/, and the calendar and the devices
// never include each other.
#include "frame/SectionTable.h"

namespace quillon {
namespace frame {

void RegisterSections() {
    // Each item class adds one line as it arrives, e.g.
    //     SetSectionFactory("CALENDAR", &MakeSectionItem<CQItemCal>);
    // Until then its sections are read to END and make nothing.
}

}  // namespace frame
}  // namespace quillon
