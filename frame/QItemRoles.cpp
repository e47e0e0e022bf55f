#include "frame/QItemRoles.h"

#include "frame/QItem.h"

CQDeviceRole* CQDeviceRole::Of(CQItem* item) {
    return dynamic_cast<CQDeviceRole*>(item);
}

CQSlotButtonRole* CQSlotButtonRole::Of(CQItem* item) {
    return dynamic_cast<CQSlotButtonRole*>(item);
}

CQCalendarRole* CQCalendarRole::Of(CQItem* item) {
    return dynamic_cast<CQCalendarRole*>(item);
}

CQConnectRole* CQConnectRole::Of(CQItem* item) {
    return dynamic_cast<CQConnectRole*>(item);
}
