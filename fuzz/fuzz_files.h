// The files a fuzz target writes beside its input: the input itself (its
// pictures come from the library's BMP writer).
#pragma once

#include <cstddef>
#include <cstdio>

namespace fuzzfiles {

inline bool WriteFile(const char* path, const void* data, std::size_t size) {
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    return written;
}

}  // namespace fuzzfiles
