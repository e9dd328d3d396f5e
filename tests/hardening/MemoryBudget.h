#pragma once

#include <gtest/gtest.h>

#include <cstddef>

#include "IsolatedRun.h"

namespace iwv::test {

// False in the sanitizer build, whose shadow memory would swamp the figures.
inline constexpr bool kMeasureMemory = IWV_MEASURE_MEMORY != 0;

// What a conversion may use beyond its input and its output.
inline constexpr std::size_t kMemorySlack = std::size_t{32} << 20;

inline double MiB(std::size_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

// A conversion holds at most its input, its output and a fixed amount more.
inline void ExpectWithinMemoryBudget(const IsolatedResult& run, std::size_t inputBytes, std::size_t outputBytes) {
    if (!kMeasureMemory || !run.peakBytes) return;
    testing::Test::RecordProperty("peak_mib", static_cast<int>(MiB(*run.peakBytes) + 0.5));
    EXPECT_LE(*run.peakBytes, inputBytes + outputBytes + kMemorySlack)
        << "peak " << MiB(*run.peakBytes) << " MiB for " << MiB(inputBytes) << " MiB in and " << MiB(outputBytes)
        << " MiB out";
}

}  // namespace iwv::test
