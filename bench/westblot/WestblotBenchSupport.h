#pragma once

// What both western-blot benchmarks share: the memcpy peer they are measured
// against and a console reporter that keeps the real times for the summary.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

// One memcpy of `source` an iteration.
template <typename Byte>
void memcpyPeer(benchmark::State& state, const std::vector<Byte>& source) {
    std::vector<Byte> copy(source.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), source.data(), source.size());
        benchmark::DoNotOptimize(copy.data());
    }
}

// Keeps the real time (ms) of each benchmark whose name starts with one of
// the given names in that name's place.
class RealTimeSummary : public benchmark::ConsoleReporter {
  public:
    explicit RealTimeSummary(std::vector<std::pair<std::string, double*>> places)
        : m_places(std::move(places)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            for (const auto& place : m_places) {
                if (name.rfind(place.first, 0) == 0) {
                    *place.second = run.GetAdjustedRealTime();
                    break;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

  private:
    const std::vector<std::pair<std::string, double*>> m_places;
};
