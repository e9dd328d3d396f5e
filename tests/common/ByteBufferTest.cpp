#include "common/ByteBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace iwv {
namespace {

TEST(ByteBuffer, KeepsEveryByteAcrossGrowth) {
    ByteBuffer buffer;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string piece = std::to_string(i) + (i % 2 ? "\xA5," : "");
        buffer.Append(piece);
        buffer.Append(';');
        expected += piece + ';';
    }
    buffer.Append("", 0);
    EXPECT_EQ(buffer.View(), expected);
}

TEST(ByteBuffer, ReserveAndTruncateKeepTheContent) {
    ByteBuffer buffer;
    buffer.Append("INW;A;");
    buffer.Reserve(100000);
    EXPECT_EQ(buffer.View(), "INW;A;");
    buffer.Truncate(4);
    EXPECT_EQ(buffer.View(), "INW;");
    buffer.Truncate(10);
    EXPECT_EQ(buffer.View(), "INW;");
    buffer.Clear();
    EXPECT_TRUE(buffer.Empty());
}

TEST(ByteBuffer, CopiesAreIndependentAndMovesEmptyTheSource) {
    ByteBuffer original;
    original.Append("abc");
    ByteBuffer copy = original;
    copy.Append('d');
    EXPECT_EQ(original.View(), "abc");
    EXPECT_EQ(copy.View(), "abcd");
    copy = original;
    EXPECT_EQ(copy.View(), "abc");

    ByteBuffer moved = std::move(copy);
    EXPECT_EQ(moved.View(), "abc");
    EXPECT_EQ(copy.Size(), 0u);
    copy.Append("reused");
    EXPECT_EQ(copy.View(), "reused");
}

}  // namespace
}  // namespace iwv
