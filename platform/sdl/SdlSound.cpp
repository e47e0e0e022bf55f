#include <cstring>

#include "platform/WavFile.h"
#include "platform/sdl/SdlParts.h"

namespace quillon {
namespace platform {
namespace sdl {

Sound::~Sound() {
    if (m_device) SDL_CloseAudioDevice(m_device);
}

bool Sound::Open() {
    if (m_tried) return m_device != 0;
    m_tried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;  // no sound, and no error
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &Sound::Fill;
    want.userdata = this;
    // SDL converts to what the device takes: every WAV is converted to `want`.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &m_spec, 0);
    if (m_device == 0) return false;
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void Sound::Fill(void* self, Uint8* stream, int len) {
    auto* s = static_cast<Sound*>(self);
    std::memset(stream, s->m_spec.silence, static_cast<std::size_t>(len));
    std::size_t want = static_cast<std::size_t>(len);
    std::size_t done = 0;
    while (done < want && s->m_pos < s->m_samples.size()) {
        std::size_t n = std::min(want - done, s->m_samples.size() - s->m_pos);
        std::memcpy(stream + done, s->m_samples.data() + s->m_pos, n);
        done += n;
        s->m_pos += n;
        if (s->m_pos >= s->m_samples.size() && s->m_loop) s->m_pos = 0;
    }
}

bool Sound::Play(const char* path, bool loop) {
    if (!path || !*path || !Open()) return false;
    WavSound wav;
    if (!ReadWavFile(path, &wav, nullptr)) return false;
    const SDL_AudioFormat format = wav.sample == WavSound::Sample::U8    ? AUDIO_U8
                                   : wav.sample == WavSound::Sample::S16 ? AUDIO_S16LSB
                                   : wav.sample == WavSound::Sample::S32 ? AUDIO_S32LSB
                                                                         : AUDIO_F32LSB;
    SDL_AudioCVT cvt{};
    int built = SDL_BuildAudioCVT(&cvt, format, static_cast<Uint8>(wav.channels), wav.rate,
                                  m_spec.format, m_spec.channels, m_spec.freq);
    std::vector<Uint8> samples;
    bool ok = built >= 0 && wav.data.size() <= 0x7FFFFFFFu / static_cast<unsigned>(cvt.len_mult);
    if (ok) {
        cvt.len = static_cast<int>(wav.data.size());
        samples = std::move(wav.data);
        samples.resize(static_cast<std::size_t>(cvt.len) * static_cast<std::size_t>(cvt.len_mult));
        cvt.buf = samples.data();
        if (built > 0) ok = SDL_ConvertAudio(&cvt) == 0;
        samples.resize(ok ? static_cast<std::size_t>(cvt.len_cvt) : 0);
    }
    if (!ok || samples.empty()) return false;
    SDL_LockAudioDevice(m_device);
    m_samples.swap(samples);
    m_pos = 0;
    m_loop = loop;
    SDL_UnlockAudioDevice(m_device);
    return true;
}

void Sound::Stop() {
    if (!m_device) return;
    SDL_LockAudioDevice(m_device);
    m_samples.clear();
    m_pos = 0;
    SDL_UnlockAudioDevice(m_device);
}

}  // namespace sdl
}  // namespace platform
}  // namespace quillon
