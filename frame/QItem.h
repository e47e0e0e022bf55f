// The description base of every named item: what the screen description
// gives it (name, default tool hint, one placement per view) and the link
// back to the main screen. The main screen reaches its items through this
// part; the part knows its drawing and input side, the owner.
#pragma once

#include <memory>

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

class CItem;
class CIniFile;
class CMaskPicture;
class CQMainScreen;
class CStringArray;

// A modal box owned by no window, OK button only (the errors of reading the
// description and its pictures).
int MessageBoxNoOwner(const CString& text, const char* caption);

// Where an item is, and whether it shows, in one view.
struct ViewPlacement {
    bool visible = true;
    CRect rect;
};

class CQItem {
public:
    static constexpr int kViews = 4;

    // `owner` is the same object seen as an item of the tree: the concrete
    // class passes `this`.
    CQItem(CQMainScreen* screen, CItem* owner);
    CQItem(const CQItem&) = delete;
    CQItem& operator=(const CQItem&) = delete;

    // The virtual operations, in slot order. Deleting through this part
    // deletes the whole item.
    virtual ~CQItem();
    // After the main screen changed a drawing colour.
    virtual void OnColorChanged();
    // After the main screen switched to another view.
    virtual void OnViewModeChanged(int mode);

    CItem* GetOwner() const { return m_pOwner; }
    CQMainScreen* GetMainScreen() const { return m_pMainScreen; }
    bool IsEnabled() const { return m_bEnabled; }
    void SetEnabled(bool enabled) { m_bEnabled = enabled; }
    CString GetName() const { return m_strName; }
    void SetName(const CString& name) { m_strName = name; }
    CString GetDefaultToolHint() const { return m_strDefaultToolHint; }
    void SetDefaultToolHint(const CString& text) { m_strDefaultToolHint = text; }
    // Views 0 to 3; null for any other number.
    ViewPlacement* GetViewPlacement(int view);

    // Reads the section's lines and handles the keys every item has (END,
    // VIEW, NAME, VISIBLE, POSITION, SIZE, DEFAULTTOOLTIP). True with an
    // item-specific line in `tokens` and the view chosen for it in `view`
    // (which restarts at 0 with every call); false at END and at the end of
    // the file (which a section must not reach: "Ini File Error").
    bool ParseCommonKey(CIniFile* ini, CStringArray* tokens, int* view);

    // Placement coordinates stay in the window system's 16-bit range, so
    // that no sum of them can overflow.
    static constexpr int kMinCoord = -32768;
    static constexpr int kMaxCoord = 32767;

    // The main screen's settings, or their starting values without one.
    CString GetPictureDirectory() const;
    COLORREF GetColor() const;
    COLORREF GetSelectColor() const;
    COLORREF GetGrayColor() const;

    // Creates the owner under the root, covering all of it: the items drawn
    // over the whole screen.
    void CreateOverRoot();

    // A picture key's file, from the picture directory. One that cannot be
    // loaded shows the box without owner (the whole path, "Error") and is
    // kept all the same: it draws nothing.
    std::unique_ptr<CMaskPicture> LoadPicture(const CString& file) const;

private:
    CItem* m_pOwner;
    bool m_bEnabled = true;
    CQMainScreen* m_pMainScreen;
    CString m_strName = "UNTITLED";
    CString m_strDefaultToolHint;
    ViewPlacement m_ViewPlacement[kViews];
};
