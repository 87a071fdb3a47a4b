#pragma once

// The peer the SDK benchmarks are measured against: copying one frame.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Copies a frame of nBytes once an iteration; returns the seconds of one copy.
inline double MeasureMemcpy(benchmark::State& state, size_t nBytes) {
    std::vector<uint8_t> source(nBytes, 1), target(nBytes);
    double dTotal = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(target.data(), source.data(), nBytes);
        benchmark::ClobberMemory();
        dTotal += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * nBytes));
    return dTotal / static_cast<double>(state.iterations());
}
