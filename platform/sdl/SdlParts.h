// The SDL backend's parts beside its windows: cursors and sound. Only
// platform/sdl includes this header (it includes SDL).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <vector>

namespace quillon {
namespace platform {
namespace sdl {

// The cursor by the window system's id (IDC_* values, 1004, 1006; 0 hides
// it), made once per id and scale.
class Cursors {
public:
    Cursors() = default;
    Cursors(const Cursors&) = delete;
    Cursors& operator=(const Cursors&) = delete;
    ~Cursors();
    void Show(int id, int scale);

private:
    SDL_Cursor* Make(int id, int scale);
    std::map<std::uint64_t, SDL_Cursor*> m_made;
    int m_shownId = -1;
    int m_shownScale = 0;
};

// WAV effects, one at a time: a new one replaces the one playing. Audio is
// opened apart from video on the first sound; when it cannot be, nothing
// ever plays.
class Sound {
public:
    Sound() = default;
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    ~Sound();
    bool Play(const char* path, bool loop);
    void Stop();

private:
    bool Open();
    static void Fill(void* self, Uint8* stream, int len);

    bool m_tried = false;
    SDL_AudioDeviceID m_device = 0;
    SDL_AudioSpec m_spec{};
    std::vector<Uint8> m_samples;  // in the device's format
    std::size_t m_pos = 0;
    bool m_loop = false;
};

}  // namespace sdl
}  // namespace platform
}  // namespace quillon
