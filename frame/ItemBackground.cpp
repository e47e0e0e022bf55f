#include "frame/ItemBackground.h"

#include <cstdint>

#include <quillon/QMainScreen.h>

#include "frame/IniFile.h"
#include "frame/pictures/DibPicture.h"

CItemBackground::CItemBackground(CQMainScreen* screen) : CQItem(screen, this) {}

CItemBackground::~CItemBackground() = default;

void CItemBackground::DrawPicture(CDibPicture* target, int x, int y, int left, int top, int right,
                                  int bottom) {
    CDibPicture* picture = m_bNormal ? m_pBg.get() : m_pBgDim.get();
    if (picture == nullptr || !picture->IsLoaded()) return;
    CSize size = picture->GetSize();
    if (size.cx < 1 || size.cy < 1) return;
    const int width = GetRect().Width();
    const int height = GetRect().Height();
    int mode = GetMainScreen() != nullptr ? GetMainScreen()->GetDrawBgMode() : 0;
    if (mode == 1) {
        RECT dest{x, y, x + width, y + height};
        RECT source{0, 0, size.cx, size.cy};
        picture->StretchTo(target, dest, source);
        return;
    }
    // Tiles from the top-left corner, rows and columns going on while they
    // start inside the item; tiles that miss the clip are not drawn at all.
    for (int ty = 0; ty < height; ty += size.cy) {
        if (y + ty >= bottom) break;
        if (y + ty + size.cy <= top) continue;
        for (int tx = 0; tx < width; tx += size.cx) {
            if (x + tx >= right) break;
            if (x + tx + size.cx <= left) continue;
            picture->DrawTo(target, x + tx, y + ty);
        }
    }
}

// Tiled or stretched, a picture without a mask leaves no pixel of the item
// to the fill.
bool CItemBackground::PictureCovers(int x, int y, int left, int top, int right, int bottom) {
    const CDibPicture* picture = m_bNormal ? m_pBg.get() : m_pBgDim.get();
    if (picture == nullptr || !picture->IsLoaded() || picture->GetMask() != nullptr) return false;
    const CSize size = picture->GetSize();
    if (size.cx < 1 || size.cy < 1) return false;
    return left >= x && top >= y && std::int64_t{right} <= std::int64_t{x} + GetRect().Width() &&
           std::int64_t{bottom} <= std::int64_t{y} + GetRect().Height();
}

CPoint CItemBackground::ToWindow(int x, int y) const {
    CRect r = GetWindowRect();
    return CPoint(x + r.left, y + r.top);
}

// The host may delete the background from its callback: the item's own
// handling then has nothing left to work on.
void CItemBackground::OnLButtonDblClk(UINT flags, int x, int y) {
    CItemRef self(this);
    if (GetMainScreen() != nullptr)
        GetMainScreen()->OnLButtonDblClk(GetName(), flags, ToWindow(x, y));
    if (self.IsAlive()) CItemBase::OnLButtonDblClk(flags, x, y);
}

void CItemBackground::OnLButtonDown(UINT flags, int x, int y) {
    CItemRef self(this);
    if (GetMainScreen() != nullptr)
        GetMainScreen()->OnLButtonDown(GetName(), flags, ToWindow(x, y));
    if (self.IsAlive()) CItemBase::OnLButtonDown(flags, x, y);
}

void CItemBackground::OnLButtonUp(UINT flags, int x, int y) {
    CItemRef self(this);
    if (GetMainScreen() != nullptr) GetMainScreen()->OnLButtonUp(GetName(), flags, ToWindow(x, y));
    if (self.IsAlive()) CItemBase::OnLButtonUp(flags, x, y);
}

namespace {

// The background is copied whole at every full repaint: kept in the
// window's depth, that copy is a plain one. Pictures with a mask stay as
// they are (they are drawn through it).
std::unique_ptr<CDibPicture> InScreenDepth(std::unique_ptr<CDibPicture> picture) {
    if (picture->GetBitCount() == 32 || picture->GetMask() != nullptr) return picture;
    const CSize size = picture->GetSize();
    auto deep = std::make_unique<CDibPicture>();
    if (!deep->Create(size.cx, size.cy, 32) || !picture->DrawTo(deep.get(), 0, 0)) return picture;
    return deep;
}

}  // namespace

bool CItemBackground::LoadPicture(const CString& path) {
    auto picture = std::make_unique<CDibPicture>();
    auto dimmed = std::make_unique<CDibPicture>();
    if (!picture->Load(path) || !dimmed->Load(path)) {
        m_pBg.reset();
        m_pBgDim.reset();
        return false;
    }
    dimmed->SetBrightness(70);
    m_pBg = InScreenDepth(std::move(picture));
    m_pBgDim = InScreenDepth(std::move(dimmed));
    m_strBgFile = path;
    return true;
}

void CItemBackground::ReadSection(CIniFile* ini) {
    CStringArray tokens;
    int view = 0;
    while (ParseCommonKey(ini, &tokens, &view)) {
        if (_mbscmp(tokens[0], "BMP") != 0) continue;
        CString path = GetPictureDirectory() + tokens[1];
        if (!LoadPicture(path)) {
            MessageBoxNoOwner(path, "FileError");
            MessageBoxNoOwner(path, "Error");
        }
    }
}

void CItemBackground::SetNormalPicture(bool normal) {
    m_bNormal = normal;
}
