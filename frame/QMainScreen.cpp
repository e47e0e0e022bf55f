// Construction of the main screen: where the description file and the
// pictures are, and the reading of the description, which makes the
// background, the host window and one item per section.
#include <quillon/QMainScreen.h>

#include <sys/stat.h>

#include "frame/IniFile.h"
#include "frame/ItemBackground.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"
#include "frame/QMainWnd.h"
#include "frame/SectionTable.h"
#include "platform/Backend.h"
#include "platform/Cursor.h"
#include "platform/Process.h"

using quillon::frame::SectionHolder;

namespace {

// Folder of the running executable, with its trailing separator.
CString ExecutableDir() {
    char path[4096];
    if (GetModuleFileName(nullptr, path, sizeof path) == 0) return CString("./");
    char drive[260];
    char dir[260];
    _splitpath(path, drive, dir, nullptr, nullptr);
    return CString(drive) + dir;
}

// Only a plain file can be a description: a folder opens as an empty file
// here, and a device or a pipe may never end.
bool IsPlainFile(const CString& path) {
    struct stat st {};
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool Is(const CString& token, const char* keyword) {
    return _mbscmp(token, keyword) == 0;
}

}  // namespace

CQMainScreen::CQMainScreen(const char* className, CWnd* parent, CRect rect, CString* iniPath,
                           CString* pictureDir) {
    m_strExeDir = ExecutableDir();
    m_strPictureDir = pictureDir != nullptr ? *pictureDir : m_strExeDir;
    CString path = iniPath != nullptr ? *iniPath : m_strExeDir + "TARVIK.INI";
    CIniFile ini;
    if (IsPlainFile(path) && ini.Open(path, CFile::modeRead | CFile::typeText)) {
        ReadDescription(&ini, className, parent, rect);
        ini.Close();
        SetViewMode(3);
    } else {
        // An empty screen: no items, no window, view mode 0.
        CString text = CString("File Error ") + path;
        if (parent != nullptr) {
            parent->MessageBox(text);
        } else {
            MessageBoxNoOwner(text, "Error");
        }
    }
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

// The destructor and GetpCWnd are with the items (QMainScreenItems.cpp).

int CQMainScreen::ViewName2No(CString name) {
    static const char* const kViews[] = {"AUDIO", "LUNCHER", "TIMER"};
    for (int i = 0; i < 3; ++i) {
        if (Is(name, kViews[i])) return i;
    }
    return -1;
}

void CQMainScreen::ReadDescription(CIniFile* ini, const char* className, CWnd* parent,
                                   const CRect& rect) {
    CStringArray tokens;
    while (ini->ReadTokenLine(&tokens)) {
        const CString key = tokens[0];
        if (Is(key, "BG")) {
            ReadBgSection(ini, className, parent, rect);
        } else if (const quillon::frame::SectionEntry* section = quillon::frame::FindSection(key)) {
            // Items hang under the background: before BG there is nowhere
            // to put them.
            if (m_pBackground == nullptr || section->factory == nullptr) {
                SkipSection(ini);
                continue;
            }
            CQItem* item = section->factory(this, ini);
            if (item != nullptr) KeepSectionItem(static_cast<int>(section->holder), item);
        } else {
            ReadOneLineStatement(tokens);
        }
    }
}

void CQMainScreen::ReadBgSection(CIniFile* ini, const char* className, CWnd* parent,
                                 const CRect& rect) {
    // One background and one window per screen: a second BG is read and
    // dropped.
    if (m_pBackground != nullptr) {
        SkipSection(ini);
        return;
    }
    m_pBackground = new CItemBackground(this);
    m_pMainWnd = new CQMainWnd();
    m_pMainWnd->Create(className, parent, rect, m_pBackground);
    m_pBackground->ReadSection(ini);
}

void CQMainScreen::SkipSection(CIniFile* ini) {
    // Read by a description part that belongs to no item.
    CQItem scratch(this, nullptr);
    CStringArray tokens;
    int view = 0;
    while (scratch.ParseCommonKey(ini, &tokens, &view)) {
    }
}

void CQMainScreen::KeepSectionItem(int holder, CQItem* item) {
    // A later section of a kind the screen has one of replaces the earlier
    // item, which would otherwise stay in the tree with no owner.
    auto replace = [item](CQItem** slot) {
        delete *slot;
        *slot = item;
    };
    switch (static_cast<SectionHolder>(holder)) {
        case SectionHolder::Devices:
            m_Devices.Add(item);
            break;
        case SectionHolder::SlotButtons:
            m_SlotButtons.Add(item);
            break;
        case SectionHolder::CalScrollButtons:
            m_CalScrollButtons.Add(item);
            break;
        case SectionHolder::Calendar:
            replace(&m_pCalendar);
            break;
        case SectionHolder::BalloonHelp:
            replace(&m_pBalloonHelp);
            break;
        case SectionHolder::Trash:
            replace(&m_pTrash);
            break;
        case SectionHolder::Change:
            replace(&m_pChange);
            break;
        case SectionHolder::Newmake:
            replace(&m_pNewmake);
            break;
        case SectionHolder::GoToday:
            replace(&m_pGoToday);
            break;
        case SectionHolder::DragFrame:
            replace(&m_pDragFrame);
            break;
        case SectionHolder::Top:
            replace(&m_pTop);
            break;
    }
}

void CQMainScreen::ReadOneLineStatement(const CStringArray& tokens) {
    const CString& key = tokens[0];
    const CString& what = tokens[1];
    if (Is(key, "SE")) {
        // A later line for the same event replaces the earlier one.
        if (Is(what, "DEVICEMOUSEOVER")) {
            m_strSeMouseOver = tokens[2];
        } else if (Is(what, "DEVICECLICK")) {
            m_strSeClick = tokens[2];
        } else if (Is(what, "DEVICEDRAGDROP")) {
            m_strSeDragDrop = tokens[2];
        }
    } else if (Is(key, "SLOTBUTTON_ALL")) {
        // Only the slot buttons read so far get the two formats.
        if (!Is(what, "TOOLHINT")) return;
        for (int i = 0; i < m_SlotButtons.GetSize(); ++i) {
            if (CQSlotButtonRole* button = CQSlotButtonRole::Of(m_SlotButtons[i]))
                button->SetToolHintFormats(tokens[2], tokens[3]);
        }
    } else if (Is(key, "COLOR")) {
        // Each component's low byte; one that cannot be read is 255.
        int rgb[3] = {255, 255, 255};
        CIniFile::ScanInts(tokens[2], rgb, 3);
        COLORREF color = RGB(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF);
        if (Is(what, "NORMAL")) {
            m_crNormal = color;
        } else if (Is(what, "SELECT")) {
            m_crSelect = color;
        } else if (Is(what, "GRAY")) {
            m_crGray = color;
        }
    } else if (Is(key, "PROGRAMMARGIN")) {
        int margin = -1;
        CIniFile::ScanInts(what, &margin, 1);
        m_nProgramMargin = margin;
    }
}
