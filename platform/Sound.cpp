#include "platform/Sound.h"

#include <sys/stat.h>

#include <cstdio>

#include <quillon/platform/CString.h>

#include "platform/Backend.h"

namespace {

bool IsReadableFile(const char* path) {
    struct stat st {};
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace

BOOL PlaySound(LPCSTR sound, void* /*module*/, DWORD flags) {
    auto& backend = quillon::platform::CurrentBackend();
    if (!sound || (flags & SND_PURGE)) {
        backend.StopSound();
        return TRUE;
    }
    bool loop = (flags & SND_LOOP) != 0;
    // Only files are known here: an alias, a resource or a memory image is
    // treated as a sound that cannot be found.
    bool isFile = (flags & (SND_ALIAS | SND_RESOURCE | SND_MEMORY)) == 0 || (flags & SND_FILENAME);
    if (isFile && *sound && IsReadableFile(sound) && backend.PlaySound(CString(sound), loop))
        return TRUE;
    if (flags & SND_NODEFAULT) return FALSE;
    return backend.PlaySound(CString(), false) ? TRUE : FALSE;
}
