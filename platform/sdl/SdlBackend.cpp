// Windows, input, tool tips and message boxes through SDL2. Every frame
// has a streaming texture that presents update by dirty rectangle; what the
// platform draws over the frame (the tip, message boxes) are textures of
// their own, composed at each present, so the frame's pixels stay exactly
// what the system drew.
#include "platform/sdl/SdlBackend.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include <quillon/platform/Messages.h>

#include "platform/BackendCalls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/sdl/SdlParts.h"

namespace quillon {
namespace platform {
namespace {

constexpr int kDoubleClickMs = 500;
constexpr int kDoubleClickHalfSide = 2;  // a 4 x 4 pixel square around the first press
constexpr int kMaxScale = 8;

// A picture of the platform's as a texture of a window's renderer.
struct Overlay {
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
    POINT at{0, 0};  // client coordinates (unscaled)

    void Reset() {
        if (texture) SDL_DestroyTexture(texture);
        texture = nullptr;
    }
};

struct Window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* frame = nullptr;
    int width = 0;
    int height = 0;
    int scale = 1;
    Overlay tip;
};

struct Box {
    int windowId = 0;
    bool ownWindow = false;
    CString text;
    CString caption;
    MessageBoxLayout layout;
    int pressed = -1;  // the button held down and under the pointer
    int held = -1;     // the button the press began on
    Overlay picture;
    int answer = 0;
};

// Floor division, so that points left of or above a scaled window (while
// the mouse is captured) map to negative client coordinates.
int Unscale(int v, int scale) {
    return v >= 0 ? v / scale : -((-v + scale - 1) / scale);
}

UINT ModifierFlags() {
    SDL_Keymod mod = SDL_GetModState();
    UINT flags = 0;
    if (mod & KMOD_SHIFT) flags |= MK_SHIFT;
    if (mod & KMOD_CTRL) flags |= MK_CONTROL;
    return flags;
}

// Virtual key codes of the window system; 0 for keys the system never sees.
UINT VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<UINT>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<UINT>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<UINT>(0x70 + (key - SDLK_F1));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return static_cast<UINT>(0x61 + (key - SDLK_KP_1));
    switch (key) {
        case SDLK_KP_0:
            return 0x60;
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_TAB:
            return 0x09;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 0x0D;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 0x10;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 0x11;
        case SDLK_LALT:
        case SDLK_RALT:
            return 0x12;
        case SDLK_PAUSE:
            return 0x13;
        case SDLK_ESCAPE:
            return 0x1B;
        case SDLK_SPACE:
            return 0x20;
        case SDLK_PAGEUP:
            return 0x21;
        case SDLK_PAGEDOWN:
            return 0x22;
        case SDLK_END:
            return 0x23;
        case SDLK_HOME:
            return 0x24;
        case SDLK_LEFT:
            return 0x25;
        case SDLK_UP:
            return 0x26;
        case SDLK_RIGHT:
            return 0x27;
        case SDLK_DOWN:
            return 0x28;
        case SDLK_INSERT:
            return 0x2D;
        case SDLK_DELETE:
        case SDLK_KP_PERIOD:
            return 0x2E;
        default:
            return 0;
    }
}

// The scale asked for, or the one the display's density calls for.
int ChooseScale() {
    if (const char* s = std::getenv("QUILLON_SCALE")) {
        int v = std::atoi(s);
        if (v >= 1 && v <= kMaxScale) return v;
        std::fprintf(stderr, "quillon: QUILLON_SCALE must be 1 to %d; \"%s\" ignored\n", kMaxScale,
                     s);
    }
    float dpi = 0;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) == 0 && dpi >= 144.0f)
        return std::min(kMaxScale, std::max(2, static_cast<int>(std::lround(dpi / 96.0f))));
    return 1;
}

class SdlBackend : public Backend {
public:
    SdlBackend() : m_scale(ChooseScale()) {}
    ~SdlBackend() override;

    int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) override;
    int ScreenWidth() const override { return DisplaySide(true); }
    int ScreenHeight() const override { return DisplaySide(false); }
    int CreateWindow(const CString& title, int width, int height) override;
    void DestroyWindow(int id) override;
    void Present(int id, const FramePicture& picture, const RECT& dirty) override;
    bool WaitEvents(DWORD timeoutMs) override;
    void SetCursor(int cursorId) override;
    void ShowToolTip(int id, const ToolTipPicture& tip) override;
    void HideToolTip() override;
    bool PlaySound(const CString& path, bool loop) override { return m_sound.Play(path, loop); }
    void StopSound() override { m_sound.Stop(); }

private:
    int DisplaySide(bool width) const;
    Window* Find(int id);
    int IdOf(Uint32 sdlWindowId) const;
    void Render(int id);
    bool MakeOverlay(Window& w, const DibSection& picture, Overlay* out);
    // Waits, then hands every event waiting to Handle.
    void Pump(DWORD timeoutMs);
    void Handle(const SDL_Event& e);
    void HandleMouseButton(const SDL_MouseButtonEvent& b, bool down);
    void HandleWindowEvent(const SDL_WindowEvent& we);
    // True when the top box took the event.
    bool BoxTakes(const SDL_Event& e);
    void RedrawBox(Box& box);
    void Answer(Box& box, int index) { box.answer = box.layout.buttons[index].answer; }
    int EscapeOrDefault(const Box& box) const;
    void QuitAll();

    std::map<int, Window> m_windows;
    int m_nextId = 1;
    int m_scale;
    int m_lastActive = 0;
    UINT m_buttons = 0;  // MK_LBUTTON, MK_RBUTTON held
    double m_wheelRest = 0;
    struct LastPress {
        bool valid = false;
        int window = 0;
        Uint32 time = 0;
        int x = 0;
        int y = 0;
    } m_lastPress;
    int m_tipWindow = 0;
    std::vector<Box*> m_boxes;  // bottom to top
    sdl::Cursors m_cursors;
    int m_cursorId = 32512;
    sdl::Sound m_sound;
};

SdlBackend::~SdlBackend() {
    for (auto& entry : m_windows) {
        Window& w = entry.second;
        w.tip.Reset();
        if (w.frame) SDL_DestroyTexture(w.frame);
        if (w.renderer) SDL_DestroyRenderer(w.renderer);
        if (w.window) SDL_DestroyWindow(w.window);
    }
}

int SdlBackend::DisplaySide(bool width) const {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return width ? 1024 : 768;
    return (width ? mode.w : mode.h) / m_scale;
}

Window* SdlBackend::Find(int id) {
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

int SdlBackend::IdOf(Uint32 sdlWindowId) const {
    SDL_Window* sw = SDL_GetWindowFromID(sdlWindowId);
    for (const auto& entry : m_windows)
        if (entry.second.window == sw) return entry.first;
    return 0;
}

int SdlBackend::CreateWindow(const CString& title, int width, int height) {
    if (width < 1 || height < 1 || !PictureSizeAllowed(width, height)) return 0;
    Window w;
    w.width = width;
    w.height = height;
    // A scale that would not fit the display is lowered.
    w.scale = m_scale;
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
        while (w.scale > 1 && (width * w.scale > usable.w || height * w.scale > usable.h))
            --w.scale;
    std::string utf8 = ToUtf8(title);
    w.window = SDL_CreateWindow(utf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                width * w.scale, height * w.scale, SDL_WINDOW_SHOWN);
    if (!w.window) {
        std::fprintf(stderr, "quillon: no window: %s\n", SDL_GetError());
        return 0;
    }
    w.renderer = SDL_CreateRenderer(w.window, -1, SDL_RENDERER_ACCELERATED);
    if (!w.renderer) w.renderer = SDL_CreateRenderer(w.window, -1, SDL_RENDERER_SOFTWARE);
    if (w.renderer)
        w.frame = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_XRGB8888,
                                    SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!w.frame) {
        std::fprintf(stderr, "quillon: no window picture: %s\n", SDL_GetError());
        if (w.renderer) SDL_DestroyRenderer(w.renderer);
        SDL_DestroyWindow(w.window);
        return 0;
    }
    // Until the system's first paint the window is black, not garbage.
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(w.frame, nullptr, &pixels, &pitch) == 0) {
        std::memset(pixels, 0, static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height));
        SDL_UnlockTexture(w.frame);
    }
    int id = m_nextId++;
    m_windows[id] = w;
    if (m_lastActive == 0) m_lastActive = id;
    return id;
}

void SdlBackend::DestroyWindow(int id) {
    Window* w = Find(id);
    if (!w) return;
    w->tip.Reset();
    for (Box* box : m_boxes)
        if (box->windowId == id) box->picture.Reset();
    SDL_DestroyTexture(w->frame);
    SDL_DestroyRenderer(w->renderer);
    SDL_DestroyWindow(w->window);
    m_windows.erase(id);
    if (m_tipWindow == id) m_tipWindow = 0;
    if (m_lastActive == id) m_lastActive = m_windows.empty() ? 0 : m_windows.begin()->first;
    if (m_lastPress.window == id) m_lastPress.valid = false;
}

void SdlBackend::Present(int id, const FramePicture& shown, const RECT& dirty) {
    Window* w = Find(id);
    if (!w || !shown.backing || shown.backing->bitCount != 32) return;
    const DibSection& picture = *shown.backing;
    CRect r(dirty);
    r &= CRect(0, 0, std::min(w->width, picture.width), std::min(w->height, picture.height));
    if (r.IsRectEmpty()) return;
    SDL_Rect sr{r.left, r.top, r.Width(), r.Height()};
    void* pixels = nullptr;
    int pitch = 0;
    // A locked streaming texture is write-only: the whole rectangle is written.
    if (SDL_LockTexture(w->frame, &sr, &pixels, &pitch) != 0) return;
    CopyShownRect(shown, r, static_cast<Uint8*>(pixels), pitch);
    SDL_UnlockTexture(w->frame);
    Render(id);
}

// The back buffer is undefined after a present: every present draws all.
void SdlBackend::Render(int id) {
    Window* w = Find(id);
    if (!w) return;
    SDL_RenderCopy(w->renderer, w->frame, nullptr, nullptr);
    auto draw = [&](const Overlay& o, bool shadow) {
        if (!o.texture) return;
        SDL_Rect dst{o.at.x * w->scale, o.at.y * w->scale, o.width * w->scale, o.height * w->scale};
        if (shadow) {
            SDL_SetRenderDrawBlendMode(w->renderer, SDL_BLENDMODE_BLEND);
            SDL_SetRenderDrawColor(w->renderer, 0, 0, 0, 70);
            SDL_Rect s{dst.x + 4 * w->scale, dst.y + 4 * w->scale, dst.w, dst.h};
            SDL_RenderFillRect(w->renderer, &s);
        }
        SDL_RenderCopy(w->renderer, o.texture, nullptr, &dst);
    };
    bool boxHere = false;
    for (Box* box : m_boxes)
        if (box->windowId == id) {
            draw(box->picture, true);
            boxHere = true;
        }
    if (!boxHere && m_tipWindow == id) draw(w->tip, false);
    SDL_RenderPresent(w->renderer);
}

bool SdlBackend::MakeOverlay(Window& w, const DibSection& picture, Overlay* out) {
    out->Reset();
    if (picture.bitCount != 32 || picture.width < 1 || picture.height < 1) return false;
    out->texture = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STATIC,
                                     picture.width, picture.height);
    if (!out->texture) return false;
    std::vector<Uint8> rows(static_cast<std::size_t>(picture.width) * 4 *
                            static_cast<std::size_t>(picture.height));
    FramePicture whole;
    whole.backing = &picture;
    CopyShownRect(whole, CRect(0, 0, picture.width, picture.height), rows.data(),
                  picture.width * 4);
    SDL_UpdateTexture(out->texture, nullptr, rows.data(), picture.width * 4);
    out->width = picture.width;
    out->height = picture.height;
    return true;
}

void SdlBackend::ShowToolTip(int id, const ToolTipPicture& tip) {
    HideToolTip();
    Window* w = Find(id);
    if (!w || !tip.picture || !MakeOverlay(*w, *tip.picture, &w->tip)) return;
    w->tip.at = tip.at;
    m_tipWindow = id;
    Render(id);
}

void SdlBackend::HideToolTip() {
    int id = m_tipWindow;
    m_tipWindow = 0;
    if (Window* w = Find(id)) {
        w->tip.Reset();
        Render(id);
    }
}

void SdlBackend::SetCursor(int cursorId) {
    m_cursorId = cursorId;
    Window* w = Find(m_lastActive);
    m_cursors.Show(cursorId, w ? w->scale : 1);
}

bool SdlBackend::WaitEvents(DWORD timeoutMs) {
    // Nothing can come when no window exists and no timer runs.
    if (timeoutMs == kWaitForever && m_windows.empty()) return false;
    Pump(timeoutMs);
    return true;
}

void SdlBackend::Pump(DWORD timeoutMs) {
    SDL_Event e;
    int got = 0;
    if (timeoutMs == kWaitForever)
        got = SDL_WaitEvent(&e);
    else
        got = SDL_WaitEventTimeout(&e, static_cast<int>(std::min<DWORD>(timeoutMs, INT_MAX)));
    if (!got) return;
    Handle(e);
    while (SDL_PollEvent(&e)) Handle(e);
}

void SdlBackend::QuitAll() {
    for (const auto& entry : m_windows) {
        InputEvent ev;
        ev.kind = InputKind::Quit;
        ev.frameId = entry.first;
        PostInput(ev);
    }
}

void SdlBackend::Handle(const SDL_Event& e) {
    if (e.type == SDL_QUIT) {
        // SIGTERM or the desktop's session ending: every frame is closed,
        // and boxes that are up give their cancel answer first.
        for (Box* box : m_boxes)
            if (!box->answer) box->answer = EscapeOrDefault(*box);
        QuitAll();
        return;
    }
    if (e.type == SDL_WINDOWEVENT) {
        HandleWindowEvent(e.window);
        return;
    }
    if (!m_boxes.empty() && BoxTakes(e)) return;
    InputEvent ev;
    switch (e.type) {
        case SDL_MOUSEMOTION: {
            Window* w = Find(ev.frameId = IdOf(e.motion.windowID));
            if (!w) return;
            ev.kind = InputKind::MouseMove;
            ev.x = Unscale(e.motion.x, w->scale);
            ev.y = Unscale(e.motion.y, w->scale);
            ev.flags = m_buttons | ModifierFlags();
            PostInput(ev);
            return;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            HandleMouseButton(e.button, e.type == SDL_MOUSEBUTTONDOWN);
            return;
        case SDL_MOUSEWHEEL: {
            Window* w = Find(ev.frameId = IdOf(e.wheel.windowID));
            if (!w) return;
            double notches = e.wheel.preciseY;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            // Fine-grained wheels add up to whole units of the framework.
            m_wheelRest += notches * 120.0;
            int delta = static_cast<int>(m_wheelRest);
            if (delta == 0) return;
            m_wheelRest -= delta;
            int x = 0;
            int y = 0;
            SDL_GetMouseState(&x, &y);
            ev.kind = InputKind::Wheel;
            ev.x = Unscale(x, w->scale);
            ev.y = Unscale(y, w->scale);
            ev.delta = delta;
            ev.flags = m_buttons | ModifierFlags();
            PostInput(ev);
            return;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            ev.frameId = IdOf(e.key.windowID);
            if (!ev.frameId) ev.frameId = m_lastActive;
            ev.vk = VirtualKey(e.key.keysym.sym);
            if (!ev.frameId || !ev.vk) return;
            ev.kind = e.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
            ev.flags = ModifierFlags();
            PostInput(ev);
            return;
        }
        default:
            return;
    }
}

void SdlBackend::HandleMouseButton(const SDL_MouseButtonEvent& b, bool down) {
    UINT bit = b.button == SDL_BUTTON_LEFT    ? MK_LBUTTON
               : b.button == SDL_BUTTON_RIGHT ? MK_RBUTTON
                                              : 0;
    int id = IdOf(b.windowID);
    Window* w = Find(id);
    if (!bit || !w) return;
    InputEvent ev;
    ev.frameId = id;
    ev.x = Unscale(b.x, w->scale);
    ev.y = Unscale(b.y, w->scale);
    if (down) {
        m_buttons |= bit;
        m_lastActive = id;
        ev.kind = bit == MK_LBUTTON ? InputKind::LButtonDown : InputKind::RButtonDown;
        if (bit == MK_LBUTTON) {
            // The window system's rule: a second press soon enough and near
            // enough is a double click; the press after it is a plain one.
            const LastPress& last = m_lastPress;
            bool dbl = last.valid && last.window == id &&
                       b.timestamp - last.time <= kDoubleClickMs &&
                       std::abs(b.x - last.x) <= kDoubleClickHalfSide &&
                       std::abs(b.y - last.y) <= kDoubleClickHalfSide;
            if (dbl) {
                ev.kind = InputKind::LButtonDblClk;
                m_lastPress.valid = false;
            } else {
                m_lastPress = LastPress{true, id, b.timestamp, b.x, b.y};
            }
        }
        SDL_CaptureMouse(SDL_TRUE);  // moves and the release reach us outside the window
    } else {
        m_buttons &= ~bit;
        ev.kind = bit == MK_LBUTTON ? InputKind::LButtonUp : InputKind::RButtonUp;
        if (!(m_buttons & (MK_LBUTTON | MK_RBUTTON))) SDL_CaptureMouse(SDL_FALSE);
    }
    ev.flags = m_buttons | ModifierFlags();
    PostInput(ev);
}

void SdlBackend::HandleWindowEvent(const SDL_WindowEvent& we) {
    int id = IdOf(we.windowID);
    if (!id) return;
    InputEvent ev;
    ev.frameId = id;
    switch (we.event) {
        case SDL_WINDOWEVENT_EXPOSED:
            Render(id);
            return;
        case SDL_WINDOWEVENT_CLOSE:
            for (Box* box : m_boxes)
                if (box->windowId == id && !box->answer) {
                    // The box's own window, or a frame under a box: the box
                    // closes as its cancel would; the frame stays.
                    box->answer = EscapeOrDefault(*box);
                    return;
                }
            ev.kind = InputKind::Quit;
            PostInput(ev);
            return;
        case SDL_WINDOWEVENT_LEAVE:
            if (!m_boxes.empty()) return;
            ev.kind = InputKind::Leave;
            PostInput(ev);
            return;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            m_lastActive = id;
            m_cursors.Show(m_cursorId, Find(id)->scale);
            return;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Lost to another of our windows is no loss for the system.
            if (SDL_Window* now = SDL_GetKeyboardFocus())
                for (const auto& entry : m_windows)
                    if (entry.second.window == now) return;
            m_buttons = 0;
            m_lastPress.valid = false;
            ev.kind = InputKind::FocusLost;
            PostInput(ev);
            return;
        default:
            return;
    }
}

int SdlBackend::EscapeOrDefault(const Box& box) const {
    if (box.layout.escapeAnswer) return box.layout.escapeAnswer;
    return box.layout.buttons[static_cast<std::size_t>(box.layout.focused)].answer;
}

void SdlBackend::RedrawBox(Box& box) {
    Window* w = Find(box.windowId);
    if (!w) return;
    DibSection* picture = DrawMessageBox(box.text, box.caption, &box.layout, box.pressed);
    if (!picture) return;
    POINT at = box.picture.at;
    bool first = !box.picture.texture;
    if (MakeOverlay(*w, *picture, &box.picture)) {
        box.picture.at = at;
        if (first) {
            // Centred on the window, never off its top-left corner.
            box.picture.at.x = std::max(0, (w->width - box.picture.width) / 2);
            box.picture.at.y = std::max(0, (w->height - box.picture.height) / 2);
        }
    }
    DeleteObject(picture);
    Render(box.windowId);
}

bool SdlBackend::BoxTakes(const SDL_Event& e) {
    Box& box = *m_boxes.back();
    Window* w = Find(box.windowId);
    if (!w) return true;
    auto buttonAt = [&](int sx, int sy) {
        int x = Unscale(sx, w->scale) - box.picture.at.x;
        int y = Unscale(sy, w->scale) - box.picture.at.y;
        for (std::size_t i = 0; i < box.layout.buttons.size(); ++i)
            if (box.layout.buttons[i].rect.PtInRect(CPoint(x, y))) return static_cast<int>(i);
        return -1;
    };
    int count = static_cast<int>(box.layout.buttons.size());
    switch (e.type) {
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT && IdOf(e.button.windowID) == box.windowId) {
                box.held = buttonAt(e.button.x, e.button.y);
                if (box.held >= 0) {
                    box.pressed = box.held;
                    box.layout.focused = box.held;
                    RedrawBox(box);
                }
            }
            return true;
        case SDL_MOUSEMOTION:
            if (box.held >= 0) {
                int now = buttonAt(e.motion.x, e.motion.y) == box.held ? box.held : -1;
                if (now != box.pressed) {
                    box.pressed = now;
                    RedrawBox(box);
                }
            }
            return true;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT && box.held >= 0) {
                bool on = buttonAt(e.button.x, e.button.y) == box.held;
                int held = box.held;
                box.held = box.pressed = -1;
                if (on)
                    Answer(box, held);
                else
                    RedrawBox(box);
            }
            return true;
        case SDL_KEYDOWN:
            switch (e.key.keysym.sym) {
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                case SDLK_SPACE:
                    Answer(box, box.layout.focused);
                    break;
                case SDLK_ESCAPE:
                    if (box.layout.escapeAnswer) box.answer = box.layout.escapeAnswer;
                    break;
                case SDLK_LEFT:
                    box.layout.focused = (box.layout.focused + count - 1) % count;
                    RedrawBox(box);
                    break;
                case SDLK_RIGHT:
                case SDLK_TAB:
                    box.layout.focused = (box.layout.focused + 1) % count;
                    RedrawBox(box);
                    break;
                default:
                    break;
            }
            return true;
        case SDL_KEYUP:
        case SDL_MOUSEWHEEL:
            return true;
        default:
            return false;
    }
}

int SdlBackend::MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) {
    Box box;
    box.text = text;
    box.caption = caption;
    box.layout = MessageBoxButtons(type);
    box.windowId = FrameIdOf(owner);
    if (!Find(box.windowId)) box.windowId = m_lastActive;
    if (!Find(box.windowId)) {
        // No frame to show it over: a window of the box's own size.
        MessageBoxLayout probe = box.layout;
        DibSection* picture = DrawMessageBox(text, caption, &probe, -1);
        int w = picture ? picture->width : 240;
        int h = picture ? picture->height : 120;
        if (picture) DeleteObject(picture);
        box.windowId = CreateWindow(caption, w, h);
        box.ownWindow = true;
        if (!box.windowId) {
            std::fprintf(stderr, "%s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
            return EscapeOrDefault(box);
        }
    }
    if (m_tipWindow) HideToolTip();
    m_boxes.push_back(&box);
    RedrawBox(box);
    // The modal loop: what is waiting is dispatched (the windows beneath
    // repaint, timers run) between the user's answers.
    while (!box.answer) {
        if (!Find(box.windowId)) {
            box.answer = EscapeOrDefault(box);
            break;
        }
        if (!PumpMessages()) {
            // WM_QUIT stays posted for the loop that owns it.
            box.answer = EscapeOrDefault(box);
            break;
        }
        if (box.answer) break;
        Pump(NextTimerDelay());
    }
    box.picture.Reset();
    m_boxes.erase(std::find(m_boxes.begin(), m_boxes.end(), &box));
    if (box.ownWindow)
        DestroyWindow(box.windowId);
    else
        Render(box.windowId);
    return box.answer;
}

}  // namespace

Backend* StartSdlBackend(std::string* why) {
    static SdlBackend* backend = nullptr;
    static std::string failure;
    if (backend) return backend;
    if (!failure.empty()) {
        if (why) *why = failure;
        return nullptr;
    }
    // Pixels stay pixels when enlarged; closing the last window is the
    // host's business (its WM_CLOSE), not a quit of SDL's own.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        failure = SDL_GetError();
        if (failure.empty()) failure = "SDL could not start its video";
        if (why) *why = failure;
        return nullptr;
    }
    // Without a display SDL falls back on drivers that show nothing: that
    // is no window for a user, unless SDL_VIDEODRIVER asked for it.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    bool invisible =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !(asked && std::strcmp(asked, driver) == 0)) {
        SDL_Quit();
        failure = "no display";
        if (why) *why = failure;
        return nullptr;
    }
    // Never freed: windows and textures must outlive every host object
    // that could still present at exit.
    backend = new SdlBackend();
    return backend;
}

}  // namespace platform
}  // namespace quillon
