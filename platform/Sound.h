// Sound effects with the window system's call: the backend plays a WAV file
// asynchronously, a new sound replacing the one playing.
#pragma once

#include <quillon/platform/Messages.h>
#include <quillon/platform/Types.h>

constexpr DWORD SND_SYNC = 0x0000;
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_NODEFAULT = 0x0002;
constexpr DWORD SND_MEMORY = 0x0004;
constexpr DWORD SND_LOOP = 0x0008;
constexpr DWORD SND_NOSTOP = 0x0010;
constexpr DWORD SND_PURGE = 0x0040;
constexpr DWORD SND_ALIAS = 0x00010000;
constexpr DWORD SND_FILENAME = 0x00020000;
constexpr DWORD SND_RESOURCE = 0x00040004;

// A null sound stops the one playing. A file that cannot be read plays the
// default sound instead, or nothing and FALSE with SND_NODEFAULT. Aliases,
// resources and memory images are not supported (as a missing file).
BOOL PlaySound(LPCSTR sound, void* module, DWORD flags);
