// The yardstick of the drawing benchmarks: one memcpy of a 1024 x 768 x 32
// frame. Each group registers it under its own name so its ratios have it.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

inline void CopyOneFrame(benchmark::State& state) {
    std::vector<std::uint32_t> src(std::size_t{1024} * 768, 0x123456);
    std::vector<std::uint32_t> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}
