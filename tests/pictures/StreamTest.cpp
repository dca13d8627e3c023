#include "pictures/Stream.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

TEST(MemoryStream, ReadsShortAtTheEndAndSeeksWithinBounds)
{
    const std::array<std::uint8_t, 5> bytes{1, 2, 3, 4, 5};
    MemoryStream stream(bytes);
    std::uint8_t buffer[8] = {};

    EXPECT_EQ(stream.Read(buffer, 3), 3u);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(stream.Read(buffer, 8), 2u);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(stream.Read(buffer, 8), 0u);

    EXPECT_EQ(stream.Seek(-2, SeekOrigin::End), 3);
    EXPECT_EQ(stream.Seek(-10, SeekOrigin::Current), 0);
    EXPECT_EQ(stream.Seek(10, SeekOrigin::Begin), 5);
    EXPECT_EQ(stream.Seek(std::numeric_limits<std::int64_t>::max(), SeekOrigin::Current), 5);
    EXPECT_EQ(stream.Seek(std::numeric_limits<std::int64_t>::min(), SeekOrigin::End), 0);
}
