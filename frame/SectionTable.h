// The item sections of the screen description: which keyword makes which
// item, and where the main screen keeps it. The item classes live above
// the frame (calendar/, devices/) and plug in from one place there,
// RegisterSections, which the table calls itself before its first use; a
// section whose class has no factory is read up to its END and makes
// nothing.
#pragma once

#include <quillon/platform/CString.h>

class CIniFile;
class CQItem;
class CQMainScreen;

namespace quillon {
namespace frame {

// Makes the item of one section: it attaches itself under the background
// and reads its own lines up to and including END.
using ItemFactory = CQItem* (*)(CQMainScreen* screen, CIniFile* ini);

// Where the main screen keeps the item of a section.
enum class SectionHolder {
    Devices,           // appended, file order
    SlotButtons,       // appended
    Calendar,          // one; a later section replaces the earlier item
    CalScrollButtons,  // appended
    BalloonHelp,       // one
    Trash,             // one
    Change,            // one
    Newmake,           // one
    GoToday,           // one
    DragFrame,         // one
    Top,               // one
};

struct SectionEntry {
    const char* keyword;
    SectionHolder holder;
    ItemFactory factory;  // null: read to END, nothing made
};

// Defined above the frame (sections/Sections.cpp): names the factory of
// every item class with SetSectionFactory. Runs once, before the first
// look-up or replacement; not a static initialiser, which the linker would
// drop from a static library.
void RegisterSections();

// The entry of a section keyword, null for any other word.
const SectionEntry* FindSection(const CString& keyword);

// Puts another factory in place for a keyword and returns the one it
// replaces (null for an unknown keyword, which changes nothing). Lets tests
// and tools stand their own items in for a section; the library's own
// factories are in place before the first replacement.
ItemFactory SetSectionFactory(const char* keyword, ItemFactory factory);

template <class T>
CQItem* MakeSectionItem(CQMainScreen* screen, CIniFile* ini) {
    return new T(screen, ini);
}

}  // namespace frame
}  // namespace quillon
