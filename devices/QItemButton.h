// What every button of the screen shares (the devices and the command
// buttons): reading its section, the still and the animated icon, the look
// by state, placement per view and the dimmed background while the mouse is
// over it. The concrete buttons derive from it and choose, through their
// style, which of these they take. It adds no class name: a button's chain
// is "CItem", "CItemButton", then its own.
#pragma once

#include <memory>

#include <quillon/platform/CString.h>
#include <quillon/platform/Types.h>

#include "frame/ItemButton.h"
#include "frame/QItem.h"

class CDibPicture;
class CIniFile;
class CItemAnimation;
class CItemBackground;
class CMaskPicture;
class CQCalendarRole;
class CStringArray;
struct CalDragInfo;

class CQItemButton : public CItemButton, public CQItem {
public:
    // Which of the shared behaviours a button takes.
    struct Style {
        // Create under the root before the keys are read (scroll, trash,
        // device), or after them (change, go-today, new reservation, slot).
        bool createBeforeKeys = true;
        // An animated icon: the animation child and the keys ICONANIME,
        // ANIMEORDER and ANIMESPEED.
        bool animated = false;
        // The key ONPERIODICDRAGTIME.
        bool repeatKey = false;
        // DEFAULTTOOLTIP becomes the tool hint (every button but the slots).
        bool defaultToolHint = true;
        // The background shows its dimmed picture while the mouse is over.
        bool dimBackground = false;
        // Redraw at once after a view change / a colour change, instead of
        // waiting for the next paint of the screen.
        bool redrawOnViewChange = false;
        bool redrawOnColorChange = false;
    };

    ~CQItemButton() override;

    void OnMouseEnter(UINT flags, int x, int y, CItem* captured) override;
    void OnMouseLeave(CItem* captured) override;
    // Shows or hides the button and moves it to the view's placement.
    void OnViewModeChanged(int mode) override;
    void OnColorChanged() override;

    // The still icon (ICON), null without one.
    CMaskPicture* GetStillIcon() const { return m_pIcon.get(); }
    // The animation child, null for a button without an animated icon.
    CItemAnimation* GetAnimation() const { return m_pAnime.get(); }
    // Mode 0 the still icon, mode 1 the current frame of the animation
    // (which then runs). When a running animation stops, it goes back to its
    // first frame, so the next hover starts from the beginning.
    CMaskPicture* GetIcon(int mode);
    bool IsAnimating() const { return m_bAnimating; }
    const Style& GetStyle() const { return m_style; }

    // A "%d" value; -1 when it does not begin with a number.
    static int ParseIntKey(const char* value);

protected:
    CQItemButton(CQMainScreen* screen, const Style& style);

    // Reads the section up to its END: the item is created before or after
    // the keys as the style says, the common keys, the button keys and the
    // subclass's own (OnSectionKey), then the default tool hint. The concrete
    // class calls it from its constructor, once its own fields have their
    // starting values.
    void ReadSection(CIniFile* ini);
    // A line that is no common key and no button key, with the view in
    // effect; false when the subclass does not know the key either (the line
    // is then ignored).
    virtual bool OnSectionKey(const CStringArray& tokens, int view);
    // The item is in the tree now: children of its own join it here.
    virtual void OnItemsCreated() {}

    // Placements `first` to `last` take a picture's width and height, their
    // corners kept.
    void SizePlacements(int first, int last, int width, int height);
    // The calendar, null without one; and its drag state when `dragged` is
    // a day row whose program bar is being dragged, else null.
    CQCalendarRole* GetCalendar() const;
    const CalDragInfo* GetBarDrag(CItem* dragged) const;

    // The look of the scroll and trash buttons: the still icon in gray while
    // disabled or unavailable, else the still icon (normal, dragged) or the
    // animation (hot in the normal colour, pressed in the selection colour);
    // then the children. A picture that is missing is left out.
    void DrawAnimatedButton(CDibPicture* target, int x, int y, int left, int top, int right,
                            int bottom, bool available);
    // Draws `picture` (may be null) in `color` at the origin, kept to the
    // clip, then the children as every item draws them.
    void DrawIcon(CDibPicture* target, int x, int y, int left, int top, int right, int bottom,
                  CMaskPicture* picture, COLORREF color);

private:
    bool OnButtonKey(const CStringArray& tokens);
    void SetIcon(const CString& file);
    void CreateItems();
    CItemBackground* GetBackground() const;

    Style m_style;
    std::unique_ptr<CMaskPicture> m_pIcon;
    std::unique_ptr<CItemAnimation> m_pAnime;
    bool m_bAnimating = false;
};
