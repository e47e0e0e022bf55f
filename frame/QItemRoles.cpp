#include "frame/QItemRoles.h"

#include "frame/Item.h"
#include "frame/QItem.h"

// An item class derives from its drawing base, its description base and its
// roles at once, so either base reaches the role by a cross-cast.
CQDeviceRole* CQDeviceRole::Of(CQItem* item) {
    return dynamic_cast<CQDeviceRole*>(item);
}

CQDeviceRole* CQDeviceRole::Of(CItem* item) {
    return dynamic_cast<CQDeviceRole*>(item);
}

CQSlotButtonRole* CQSlotButtonRole::Of(CQItem* item) {
    return dynamic_cast<CQSlotButtonRole*>(item);
}

CQSlotButtonRole* CQSlotButtonRole::Of(CItem* item) {
    return dynamic_cast<CQSlotButtonRole*>(item);
}

CQCalendarRole* CQCalendarRole::Of(CQItem* item) {
    return dynamic_cast<CQCalendarRole*>(item);
}

CQCalendarRole* CQCalendarRole::Of(CItem* item) {
    return dynamic_cast<CQCalendarRole*>(item);
}

CQConnectRole* CQConnectRole::Of(CQItem* item) {
    return dynamic_cast<CQConnectRole*>(item);
}

CQConnectRole* CQConnectRole::Of(CItem* item) {
    return dynamic_cast<CQConnectRole*>(item);
}
