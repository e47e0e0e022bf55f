#include "platform/headless/HeadlessBackend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <quillon/platform/Messages.h>

#include "platform/gdi/Bitmap.h"

namespace quillon {
namespace platform {

int HeadlessBackend::MessageBox(CWnd* /*owner*/, const CString& text, const CString& caption,
                                UINT type) {
    if (m_record) {
        m_boxes.push_back(Box{text.str(), caption.str(), type});
    } else {
        std::string line = ToUtf8(caption) + ": " + ToUtf8(text) + "\n";
        std::fputs(line.c_str(), stderr);
    }
    PumpMessages();
    if (m_hook) {
        // The hook may show boxes of its own: it is not run again inside them.
        auto hook = std::move(m_hook);
        m_hook = nullptr;
        hook(text.str(), caption.str());
        if (!m_hook) m_hook = std::move(hook);
    }
    return m_record ? m_answer : IDOK;
}

int HeadlessBackend::CreateWindow(const CString& /*title*/, int width, int height) {
    if (width < 1 || height < 1 || !PictureSizeAllowed(width, height)) return 0;
    int id = m_nextId++;
    Picture& p = m_windows[id];
    p.width = width;
    p.height = height;
    p.bgrx.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return id;
}

void HeadlessBackend::DestroyWindow(int id) {
    m_pending.erase(id);
    m_windows.erase(id);
    if (m_tipWindow == id) HideToolTip();
}

namespace {

// Copies a rectangle of what a frame shows into one of our pictures.
void CopyShown(const FramePicture& from, const CRect& r, HeadlessBackend::Picture* to) {
    if (r.IsRectEmpty()) return;
    auto* dst = reinterpret_cast<std::uint8_t*>(
        to->bgrx.data() + static_cast<std::size_t>(r.top) * static_cast<std::size_t>(to->width) +
        r.left);
    CopyShownRect(from, r, dst, to->width * 4);
}

}  // namespace

// Presenting is lazy: the picture is read when a test looks at the window,
// so frames nobody looks at cost no copy.
void HeadlessBackend::Present(int id, const FramePicture& picture, const RECT& dirty) {
    auto it = m_windows.find(id);
    if (it == m_windows.end() || !picture.backing || picture.backing->bitCount != 32) return;
    const Picture& p = it->second;
    CRect r(dirty);
    r &= CRect(0, 0, std::min(p.width, picture.backing->width),
               std::min(p.height, picture.backing->height));
    if (r.IsRectEmpty()) return;
    Pending& pending = m_pending[id];
    if (pending.from != nullptr && pending.from != &picture) {
        CopyShown(*pending.from, pending.dirty, &it->second);
        pending.dirty.SetRectEmpty();
    }
    pending.from = &picture;
    pending.dirty |= r;
}

bool HeadlessBackend::WaitEvents(DWORD timeoutMs) {
    if (timeoutMs == kWaitForever) return false;
    ::Sleep(timeoutMs);  // the platform clock's: a test clock moves instead
    return true;
}

void HeadlessBackend::ShowToolTip(int id, const ToolTipPicture& tip) {
    HideToolTip();
    if (m_windows.find(id) == m_windows.end() || !tip.picture || tip.picture->bitCount != 32)
        return;
    const DibSection& picture = *tip.picture;
    m_tipPicture.width = picture.width;
    m_tipPicture.height = picture.height;
    m_tipPicture.bgrx.assign(
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height), 0);
    FramePicture whole;
    whole.backing = &picture;
    CopyShown(whole, CRect(0, 0, picture.width, picture.height), &m_tipPicture);
    m_tipText = tip.text.str();
    m_tipAt = tip.at;
    m_tipWindow = id;
}

void HeadlessBackend::HideToolTip() {
    m_tipText.clear();
    m_tipWindow = 0;
    m_tipPicture = Picture{};
}

bool HeadlessBackend::PlaySound(const CString& path, bool /*loop*/) {
    m_sounds.push_back(path.str());
    return true;
}

const HeadlessBackend::Picture* HeadlessBackend::WindowPicture(int id) const {
    auto it = m_windows.find(id);
    if (it == m_windows.end()) return nullptr;
    auto pending = m_pending.find(id);
    if (pending != m_pending.end()) {
        CopyShown(*pending->second.from, pending->second.dirty, &it->second);
        m_pending.erase(pending);
    }
    return &it->second;
}

}  // namespace platform
}  // namespace quillon
