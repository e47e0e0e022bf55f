// The TOP item: dotted lines between device icons in the AUDIO view. A
// dubbing line runs a bright group of three dots from the source device to
// the destination; a connection line stands still. The dots are worked out
// once, when a line is made, from the devices' AUDIO placements.
#pragma once

#include <memory>
#include <vector>

#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>

#include "frame/Item.h"
#include "frame/QItem.h"
#include "frame/QItemRoles.h"

class CIniFile;
class CMaskPicture;

struct ConnectLine {
    enum { kDubbing = 0, kConnect = 1 };
    int kind = kDubbing;
    CString from;
    CString to;
    std::vector<CPoint> dots;  // top-left corners of the dot picture, window coordinates
    int phase = 0;             // the first dot of the bright group
};

class CItemConnectLines : public CItem, public CQItem, public CQConnectRole {
public:
    static constexpr int kTimerMs = 300;
    static constexpr int kDotSpacing = 15;

    CItemConnectLines(CQMainScreen* screen, CIniFile* ini);
    ~CItemConnectLines() override;

    void Draw(CDibPicture* target, int x, int y, int left, int top, int right, int bottom) override;
    void OnItemTimer() override;
    void OnColorChanged() override {}
    void OnViewModeChanged(int /*mode*/) override {}

    void AddDubbing(CString from, CString to) override;
    void ClearDubbing() override;
    void AddConnect(CString from, CString to) override;
    void ClearConnect() override;
    // The first line of that kind with exactly these names (in this order), or -1.
    int FindLine(int kind, const CString& from, const CString& to) const;

    int GetLineCount() const { return static_cast<int>(m_Lines.size()); }
    const ConnectLine* GetLine(int i) const;
    CMaskPicture* GetDotPicture() const { return m_pDot.get(); }

    // The straight line from (x1, y1) to (x2, y2), about one point a pixel.
    static std::vector<CPoint> LinePoints(int x1, int y1, int x2, int y2);

private:
    // False (and no line) when a name gives no device or there is no dot.
    bool MakeLine(int kind, const CString& from, const CString& to);
    void RemoveLines(int kind);

    std::unique_ptr<CMaskPicture> m_pDot;
    std::vector<std::unique_ptr<ConnectLine>> m_Lines;
};
