#include "common/ByteBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace iwv {
namespace {

TEST(ByteBuffer, KeepsEveryByteAcrossGrowthCopiesAndMoves) {
    ByteBuffer buffer;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        buffer.Append(std::to_string(i));
        buffer.Append(i % 2 ? '\xA5' : ';');
        expected += std::to_string(i) + (i % 2 ? '\xA5' : ';');
    }
    EXPECT_EQ(buffer.View(), expected);

    ByteBuffer copy = buffer;
    copy.Truncate(3);
    copy.Append("x");
    EXPECT_EQ(copy.View(), expected.substr(0, 3) + "x");
    EXPECT_EQ(buffer.View(), expected);

    ByteBuffer moved = std::move(buffer);
    EXPECT_EQ(moved.View(), expected);
    EXPECT_TRUE(buffer.Empty());
    buffer.Append("reused");
    EXPECT_EQ(buffer.View(), "reused");
}

}  // namespace
}  // namespace iwv
