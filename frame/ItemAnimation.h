// An animated picture: frames (mask pictures), the order they show in, and
// an item timer that steps through the order. It is a hidden child of the
// item that shows it; that item draws GetFrame.
#pragma once

#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>

#include "frame/Item.h"

class CMaskPicture;

class CItemAnimation : public CItem {
public:
    CItemAnimation();
    ~CItemAnimation() override;

    // Hides the item: it is never drawn or hit itself.
    void OnCreate() override;
    // One step along the order, wrapping, and the parent redraws.
    void OnItemTimer() override;

    // Appends a frame and its index to the order; false when the file does
    // not load.
    bool AddFrame(const CString& path);
    // Frame indexes separated by LF, TAB or comma, e.g. "0,1,2,1"; false and
    // unchanged unless every value names a frame.
    bool SetOrder(const char* text);
    void Run(bool run);
    bool SetPeriod(int ms);
    // The frame at the current position, null when there is none.
    CMaskPicture* GetFrame() const;
    bool SetOpacity(int opacity);
    // Copies of the other's frames, its order and position. An animation
    // without a parent is then put under the root and runs at the other's
    // pace when that one is running.
    bool CopyFrom(const CItemAnimation* other);

    int GetFrameCount() const { return m_Frames.GetSize(); }
    const CUIntArray& GetOrder() const { return m_Order; }
    int GetPosition() const { return m_nPos; }
    // Back to the first step of the order (a hover that ends starts the
    // next one from the beginning).
    void Rewind() { m_nPos = 0; }
    int GetPeriod() const { return m_nPeriod; }

private:
    void DeleteFrames();

    CPtrArray m_Frames;  // CMaskPicture*, owned
    CUIntArray m_Order;
    int m_nPos = 0;
    int m_nPeriod = 300;
};
