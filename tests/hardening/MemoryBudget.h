#pragma once

#include <gtest/gtest.h>

#include <cstddef>

#include "IsolatedRun.h"

namespace iwv::test {

// False in the sanitizer build, whose shadow memory would swamp the figures.
inline constexpr bool kMeasureMemory = IWV_MEASURE_MEMORY != 0;

// What a conversion may use whatever its files' sizes: its blocks, the
// program and the test process it starts from.
inline constexpr std::size_t kMemorySlack = std::size_t{32} << 20;

inline double MiB(std::size_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

// A conversion holds a fixed amount, however long its files and lines.
inline void ExpectWithinMemoryBudget(const IsolatedResult& run) {
    if (!kMeasureMemory || !run.peakBytes) return;
    testing::Test::RecordProperty("peak_mib", static_cast<int>(MiB(*run.peakBytes) + 0.5));
    EXPECT_LE(*run.peakBytes, kMemorySlack) << "peak " << MiB(*run.peakBytes) << " MiB";
}

}  // namespace iwv::test
