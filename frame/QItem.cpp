#include "frame/QItem.h"

#include <quillon/QMainScreen.h>

#include <algorithm>
#include <cstdint>

#include "frame/IniFile.h"
#include "frame/Item.h"
#include "frame/pictures/MaskPicture.h"
#include "platform/Backend.h"

int MessageBoxNoOwner(const CString& text, const char* caption) {
    return quillon::platform::CurrentBackend().MessageBox(nullptr, text, CString(caption), MB_OK);
}

namespace {

int ClampCoord(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, CQItem::kMinCoord, CQItem::kMaxCoord));
}

}  // namespace

CQItem::CQItem(CQMainScreen* screen, CItem* owner) : m_pOwner(owner), m_pMainScreen(screen) {}

CQItem::~CQItem() = default;

void CQItem::OnColorChanged() {}

void CQItem::OnViewModeChanged(int /*mode*/) {}

ViewPlacement* CQItem::GetViewPlacement(int view) {
    if (view < 0 || view >= kViews) return nullptr;
    return &m_ViewPlacement[view];
}

bool CQItem::ParseCommonKey(CIniFile* ini, CStringArray* tokens, int* view) {
    *view = 0;
    for (;;) {
        if (!ini->ReadTokenLine(tokens)) {
            MessageBoxNoOwner("Ini File Error", "Error");
            return false;
        }
        const CString& key = tokens->GetAt(0);
        const CString& value = tokens->GetAt(1);
        if (_mbscmp(key, "END") == 0) return false;
        if (_mbscmp(key, "VIEW") == 0) {
            // An unknown name selects no placement: the placement keys up to
            // the next VIEW or item line are ignored.
            *view = CQMainScreen::ViewName2No(value);
        } else if (_mbscmp(key, "NAME") == 0) {
            SetName(value);
        } else if (_mbscmp(key, "DEFAULTTOOLTIP") == 0) {
            SetDefaultToolHint(value);
        } else if (_mbscmp(key, "VISIBLE") == 0) {
            if (ViewPlacement* p = GetViewPlacement(*view))
                p->visible = _mbscmp(value, "TRUE") == 0;
        } else if (_mbscmp(key, "POSITION") == 0) {
            // Moves the corner, keeping the size; a number that is missing
            // leaves its coordinate as it was.
            ViewPlacement* p = GetViewPlacement(*view);
            int xy[2] = {0, 0};
            int n = CIniFile::ScanInts(value, xy, 2);
            if (p != nullptr && n >= 1) {
                std::int64_t width = static_cast<std::int64_t>(p->rect.right) - p->rect.left;
                p->rect.left = ClampCoord(xy[0]);
                p->rect.right = ClampCoord(p->rect.left + width);
            }
            if (p != nullptr && n >= 2) {
                std::int64_t height = static_cast<std::int64_t>(p->rect.bottom) - p->rect.top;
                p->rect.top = ClampCoord(xy[1]);
                p->rect.bottom = ClampCoord(p->rect.top + height);
            }
        } else if (_mbscmp(key, "SIZE") == 0) {
            // A negative size makes the rectangle empty.
            ViewPlacement* p = GetViewPlacement(*view);
            int wh[2] = {0, 0};
            int n = CIniFile::ScanInts(value, wh, 2);
            if (p != nullptr && n >= 1)
                p->rect.right =
                    ClampCoord(static_cast<std::int64_t>(p->rect.left) + std::max(wh[0], 0));
            if (p != nullptr && n >= 2)
                p->rect.bottom =
                    ClampCoord(static_cast<std::int64_t>(p->rect.top) + std::max(wh[1], 0));
        } else {
            return true;
        }
    }
}

CString CQItem::GetPictureDirectory() const {
    return m_pMainScreen != nullptr ? m_pMainScreen->GetPictureDirectory() : CString();
}

COLORREF CQItem::GetColor() const {
    return m_pMainScreen != nullptr ? m_pMainScreen->GetColor() : 0xFFFFFF;
}

COLORREF CQItem::GetSelectColor() const {
    return m_pMainScreen != nullptr ? m_pMainScreen->GetSelectColor() : 0xFFFF00;
}

COLORREF CQItem::GetGrayColor() const {
    return m_pMainScreen != nullptr ? m_pMainScreen->GetGrayColor() : 0x808080;
}

std::unique_ptr<CMaskPicture> CQItem::LoadPicture(const CString& file) const {
    const CString path = GetPictureDirectory() + file;
    auto picture = std::make_unique<CMaskPicture>();
    if (!picture->Load(path)) MessageBoxNoOwner(path, "Error");
    return picture;
}

void CQItem::CreateOverRoot() {
    CItem* root = m_pMainScreen != nullptr ? m_pMainScreen->GetRootItem() : nullptr;
    const CRect whole = root != nullptr ? root->GetRect() : CRect();
    m_pOwner->Create(root, 0, 0, whole.Width(), whole.Height());
}
