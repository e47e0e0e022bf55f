#include "frame/SectionTable.h"

namespace quillon {
namespace frame {
namespace {

// Every item section of the description; RegisterSections fills in the
// factories.
SectionEntry g_sections[] = {
    {"DEVICE", SectionHolder::Devices, nullptr},
    {"CALENDAR", SectionHolder::Calendar, nullptr},
    {"CALENDARSCROLLBUTTON", SectionHolder::CalScrollButtons, nullptr},
    {"CALENDARBALLOONHELP", SectionHolder::BalloonHelp, nullptr},
    {"TRASH", SectionHolder::Trash, nullptr},
    {"CHANGE", SectionHolder::Change, nullptr},
    {"NEWMAKE", SectionHolder::Newmake, nullptr},
    {"SLOTBUTTON", SectionHolder::SlotButtons, nullptr},
    {"GOTODAYBUTTON", SectionHolder::GoToday, nullptr},
    {"DRAGINGITEMFRAME", SectionHolder::DragFrame, nullptr},
    {"TOP", SectionHolder::Top, nullptr},
};

// Before the first use of the table, so that a stand-in put in by a test is
// never replaced by the library's own factory afterwards.
void EnsureRegistered() {
    static bool registered = false;
    if (registered) return;
    registered = true;  // first: registering replaces factories itself
    RegisterSections();
}

SectionEntry* Find(const char* keyword) {
    EnsureRegistered();
    for (SectionEntry& e : g_sections) {
        if (_mbscmp(e.keyword, keyword) == 0) return &e;
    }
    return nullptr;
}

}  // namespace

const SectionEntry* FindSection(const CString& keyword) {
    return Find(keyword);
}

ItemFactory SetSectionFactory(const char* keyword, ItemFactory factory) {
    SectionEntry* e = keyword != nullptr ? Find(keyword) : nullptr;
    if (e == nullptr) return nullptr;
    ItemFactory before = e->factory;
    e->factory = factory;
    return before;
}

}  // namespace frame
}  // namespace quillon
