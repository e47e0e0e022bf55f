// A device of the host ("CD/DVD", "MD", "FM TUNER", ...): an icon whose look
// and animation follow the state the host sets, a label under it, for some
// a state picture beside it; clicks go to the host, and a drag proposes a
// reservation on the calendar, asks for a new one, or links two devices.
// Its NAME is its identity: the host finds it, and its look is chosen, by it.
#pragma once

#include <memory>
#include <vector>

#include <quillon/QProg.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/CTime.h>

#include "devices/QItemButton.h"
#include "frame/QItemRoles.h"

class CItemAnimation;
class CMaskPicture;

// One size of the device's pictures (L the large set, S the small one).
struct DeviceIconSet {
    std::unique_ptr<CMaskPicture> still;
    std::unique_ptr<CMaskPicture> mute;
    std::unique_ptr<CItemAnimation> animation;          // a hidden child of the device
    std::vector<std::unique_ptr<CMaskPicture>> names;   // 0 the label, 1 the alternate label
    std::vector<std::unique_ptr<CMaskPicture>> states;  // in file order
};

struct DeviceDragRule {
    CString target;  // the NAME of the device it may be dropped on
    std::vector<int> sources;
    std::vector<int> targets;
};

struct DeviceToolHint {
    CString text;  // a format with the device text as its one "%s"
    struct Pair {
        int view;   // -1 any view
        int state;  // negative: any state
    };
    std::vector<Pair> pairs;
};

class CQItemDevice : public CQItemButton, public CQDeviceRole {
public:
    enum { kLarge = 0, kSmall = 1 };

    CQItemDevice(CQMainScreen* screen, CIniFile* ini);
    ~CQItemDevice() override;

    void GetClassNameChain(CStringArray* out) override;
    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnMouseMove(UINT flags, int x, int y, CItem* captured) override;
    void OnMouseEnter(UINT flags, int x, int y, CItem* captured) override;
    void OnLButtonDblClk(UINT flags, int x, int y) override;
    void OnLButtonDown(UINT flags, int x, int y) override;
    void OnLButtonUp(UINT flags, int x, int y) override;
    void OnRButtonDown(UINT flags, int x, int y) override;
    void OnRButtonUp(UINT flags, int x, int y) override;
    void OnBeginDrag(DragArea area) override;
    void OnEndDrag(int x, int y) override;
    void OnDropIn(UINT flags, int x, int y, CItem* dragged) override;
    void OnButtonClick(UINT flags, int x, int y) override;
    void OnViewModeChanged(int mode) override;
    void OnColorChanged() override {}

    // CQDeviceRole
    void SetState(int state, CString text) override;
    int GetState() const override { return m_nState; }
    CString GetDeviceText() const override { return m_strDeviceText; }
    void SetMute(bool mute) override;
    bool GetMute() const override { return m_bMute; }
    bool SetFadeLevel(int level) override;
    CString GetDeviceName() const override { return GetName(); }
    int GetProgKind() const override;
    void SetDefaultLength(CTimeSpan length) override { m_DefaultLength = length; }
    CTimeSpan GetDefaultLength() const override { return m_DefaultLength; }
    bool GetLabelRect(CRect* out) const override;

    // The large set in the AUDIO view (and before the first view), else the
    // small one.
    DeviceIconSet& GetIconSet();
    const DeviceIconSet& GetIconSet() const;
    DeviceIconSet& GetIconSet(int which) { return m_Sets[which]; }
    // Mode 0 the still icon, 1 the current animation frame, 2 the mute icon;
    // the animations of both sets run or stop together.
    CMaskPicture* GetIcon(int mode);
    // The label and where it goes (the root's coordinates); null without one.
    CMaskPicture* GetNamePicture(CRect* rect = nullptr, bool* alternate = nullptr) const;
    CMaskPicture* GetStatePicture(CRect* rect) const;
    const std::vector<DeviceDragRule>& GetDragRules() const { return m_DragRules; }
    const std::vector<DeviceToolHint>& GetToolHintRules() const { return m_ToolHints; }
    void UpdateToolHint();

    // May this device be dropped on `target` at a window point?
    bool CanDropOn(CItem* target, int x, int y);
    // The reservation a drop at a window point would propose: 0, or -1 no
    // calendar there, -2 no time there, -3 no free slot, -4 it overlaps, -5
    // its time breaks a rule. `out` gets the program as far as it was made.
    int MakeDropProgram(int x, int y, CQProg* out);

protected:
    bool OnSectionKey(const CStringArray& tokens, int view) override;
    void OnItemsCreated() override;

private:
    bool ReadSetKey(DeviceIconSet& set, int which, const CString& key, const CString& value);
    CPoint ToWindow(int x, int y) const;

    DeviceIconSet m_Sets[2];
    bool m_bAnimating = false;
    int m_nState = 0;
    bool m_bMute = false;
    CString m_strDeviceText;
    CTimeSpan m_DefaultLength{1800};
    std::vector<DeviceDragRule> m_DragRules;
    std::vector<DeviceToolHint> m_ToolHints;
};
