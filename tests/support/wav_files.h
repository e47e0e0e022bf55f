// WAV files for tests, chunk by chunk, little-endian.
#pragma once

#include <cstdint>
#include <vector>

namespace wavtest {

using Bytes = std::vector<std::uint8_t>;

inline void Put(Bytes& b, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
// A chunk padded to an even size; `size` other than ~0 is a lying header.
inline void Chunk(Bytes& b, const char* id, const Bytes& body, std::uint32_t size = ~0u) {
    b.insert(b.end(), id, id + 4);
    Put(b, size == ~0u ? static_cast<std::uint32_t>(body.size()) : size, 4);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
}
inline Bytes Fmt(int tag, int channels, int rate, int bits, int align = -1) {
    Bytes f;
    Put(f, tag, 2);
    Put(f, channels, 2);
    Put(f, rate, 4);
    Put(f, rate * channels * bits / 8, 4);
    Put(f, align < 0 ? channels * bits / 8 : align, 2);
    Put(f, bits, 2);
    return f;
}
inline Bytes Wav(const Bytes& fmt, const Bytes& data, bool withData = true) {
    Bytes b = {'R', 'I', 'F', 'F'};
    Put(b, 0, 4);  // readers must not trust it
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    Chunk(b, "LIST", Bytes(3, 'x'));  // an odd chunk, padded, before the format
    Chunk(b, "fmt ", fmt);
    if (withData) Chunk(b, "data", data);
    return b;
}

}  // namespace wavtest
