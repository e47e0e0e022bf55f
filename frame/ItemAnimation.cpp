#include "frame/ItemAnimation.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "frame/QMainWnd.h"
#include "frame/pictures/MaskPicture.h"

CItemAnimation::CItemAnimation() = default;

CItemAnimation::~CItemAnimation() {
    DeleteFrames();
}

void CItemAnimation::DeleteFrames() {
    for (void* p : m_Frames) delete static_cast<CMaskPicture*>(p);
    m_Frames.RemoveAll();
}

void CItemAnimation::OnCreate() {
    SetVisible(false);
}

void CItemAnimation::OnItemTimer() {
    if (m_Order.GetSize() == 0) return;
    m_nPos = m_nPos + 1 < m_Order.GetSize() ? m_nPos + 1 : 0;
    if (GetParent() != nullptr) GetParent()->Redraw();
}

bool CItemAnimation::AddFrame(const CString& path) {
    CMaskPicture picture;
    if (!picture.Load(path)) return false;
    m_Frames.Add(new CMaskPicture(picture));
    m_Order.Add(static_cast<UINT>(m_Frames.GetSize() - 1));
    return true;
}

bool CItemAnimation::SetOrder(const char* text) {
    if (text == nullptr) return false;
    std::vector<int> values;
    std::string buffer(text);
    const char* seps = "\n\t,";
    // Pieces between separators; runs of separators give no empty pieces.
    for (std::size_t pos = 0; pos < buffer.size();) {
        std::size_t start = buffer.find_first_not_of(seps, pos);
        if (start == std::string::npos) break;
        std::size_t end = buffer.find_first_of(seps, start);
        if (end == std::string::npos) end = buffer.size();
        std::string piece = buffer.substr(start, end - start);
        // A leading number as "%d" reads it, but one past int is refused
        // rather than wrapped.
        char* rest = nullptr;
        errno = 0;
        const long v = std::strtol(piece.c_str(), &rest, 10);
        const bool number = rest != piece.c_str() && errno == 0 && v >= INT_MIN && v <= INT_MAX;
        values.push_back(number ? static_cast<int>(v) : -1);
        pos = end;
    }
    // No values at all is an empty order: no frame shows.
    for (int v : values) {
        if (v < 0 || v >= m_Frames.GetSize()) return false;
    }
    m_Order.RemoveAll();
    for (int v : values) m_Order.Add(static_cast<UINT>(v));
    // A position past a shorter order shows nothing until the next step
    // starts it over.
    return true;
}

void CItemAnimation::Run(bool run) {
    if (run) {
        if (GetTimer() == -1) SetTimer(m_nPeriod);
    } else {
        SetTimer(0);
    }
}

bool CItemAnimation::SetPeriod(int ms) {
    m_nPeriod = ms;
    if (GetTimer() != -1) SetTimer(ms);
    return true;
}

CMaskPicture* CItemAnimation::GetFrame() const {
    if (m_nPos < 0 || m_nPos >= m_Order.GetSize()) return nullptr;
    UINT index = m_Order[m_nPos];
    if (index >= static_cast<UINT>(m_Frames.GetSize())) return nullptr;
    return static_cast<CMaskPicture*>(m_Frames[static_cast<int>(index)]);
}

bool CItemAnimation::SetOpacity(int opacity) {
    for (void* p : m_Frames) static_cast<CMaskPicture*>(p)->SetOpacity(opacity);
    return true;
}

bool CItemAnimation::CopyFrom(const CItemAnimation* other) {
    if (other == nullptr || other == this) return false;
    DeleteFrames();
    for (void* p : other->m_Frames) m_Frames.Add(new CMaskPicture(*static_cast<CMaskPicture*>(p)));
    m_Order.Copy(other->m_Order);
    m_nPos = other->m_nPos;
    if (GetParent() == nullptr) {
        CQMainWnd* wnd = other->GetMainWnd();
        CItem* root = wnd != nullptr ? wnd->GetRootItem() : nullptr;
        if (root != nullptr && root != this) {
            Create(root, 0, 0, 10, 10);
            int period = other->GetTimer();
            if (period != -1) SetTimer(period);
        }
    }
    return true;
}
