// Process and path helpers with the runtime library's names.
#pragma once

#include <quillon/platform/Types.h>

// The running executable's path (from /proc/self/exe). The module handle is
// ignored: the library is always asked about the process. Returns the length
// written, 0 on failure; the result is always terminated.
DWORD GetModuleFileName(void* module, char* buffer, DWORD size);

// Splits a path into drive (always empty here), directory with its trailing
// separator, file name and extension with its dot. Any output may be null;
// each non-null output must hold at least 260 bytes.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the runtime library's name
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
