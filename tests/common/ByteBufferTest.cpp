#include "common/ByteBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace iwv {
namespace {

TEST(ByteBuffer, KeepsEveryByteAcrossGrowthAndReuse) {
    ByteBuffer buffer;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string piece = std::to_string(i) + (i % 2 ? '\xA5' : ';') + std::string(i % 300, 'x');
        buffer.Append(piece);
        expected += piece;
    }
    EXPECT_EQ(buffer.View(), expected);
    buffer.Clear();
    EXPECT_EQ(buffer.Size(), 0u);
    buffer.Append("reused");
    buffer.Append("");
    EXPECT_EQ(buffer.View(), "reused");
}

}  // namespace
}  // namespace iwv
