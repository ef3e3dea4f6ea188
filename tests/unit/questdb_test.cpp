#include <gtest/gtest.h>

#include "questdb/byte_buffer.h"

TEST(ByteBuffer, GrowingFillsWithZero) {
    ByteBuffer buffer;
    buffer.Resize(3);
    buffer.Data()[0] = 7;
    buffer.Resize(5);
    EXPECT_EQ(buffer.Bytes(), (std::vector<std::uint8_t>{7, 0, 0, 0, 0}));
}
