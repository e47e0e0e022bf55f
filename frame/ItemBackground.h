// The background: the root of the item tree. It fills the window, shows the
// background picture (tiled or stretched as the main screen says, normal or
// dimmed) and reports left button events on itself to the host.
#pragma once

#include <memory>

#include <quillon/platform/CString.h>

#include "frame/ItemBase.h"
#include "frame/QItem.h"

class CDibPicture;
class CIniFile;

class CItemBackground : public CItemBase, public CQItem {
public:
    explicit CItemBackground(CQMainScreen* screen);
    ~CItemBackground() override;

    void DrawPicture(CDibPicture* target, int x, int y, int left, int top, int right,
                     int bottom) override;
    bool PictureCovers(int x, int y, int left, int top, int right, int bottom) override;
    void OnLButtonDblClk(UINT flags, int x, int y) override;
    void OnLButtonDown(UINT flags, int x, int y) override;
    void OnLButtonUp(UINT flags, int x, int y) override;

    // The BG section after its first line: the common keys and BMP (a file
    // in the picture directory). A picture that fails is reported with two
    // boxes and leaves the background without one.
    void ReadSection(CIniFile* ini);

    // Loads the picture and its copy dimmed to 70 percent. On failure the
    // background has no picture (the fill colour shows) and the name of the
    // last good one is kept.
    bool LoadPicture(const CString& path);
    CString GetPictureName() const { return m_strBgFile; }
    // true shows the normal picture, false the dimmed copy.
    void SetNormalPicture(bool normal);
    bool IsNormalPicture() const { return m_bNormal; }
    CDibPicture* GetPicture() const { return m_pBg.get(); }
    CDibPicture* GetDimmedPicture() const { return m_pBgDim.get(); }

private:
    CPoint ToWindow(int x, int y) const;

    CString m_strBgFile;
    std::unique_ptr<CDibPicture> m_pBg;
    std::unique_ptr<CDibPicture> m_pBgDim;
    bool m_bNormal = true;
};
