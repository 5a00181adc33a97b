#include "presentation/byte_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glintdeck {
namespace {

constexpr uint64_t MiB = 1024 * 1024, GiB = MiB * 1024, kMax = std::numeric_limits<uint64_t>::max();

// Rounding comes first, so a value that would show four digits moves to the next unit.
TEST(ByteTextTest, SizesRoundBeforeChoosingTheUnit) {
    for (auto [bytes, text] : {std::pair{uint64_t{0}, "Zero KB"},
                               {1000, "1 KB"},
                               {1536, "2 KB"},
                               {1000 * MiB, "0,98 GB"},
                               {GiB + GiB / 2, "1,5 GB"},
                               {1023 * GiB + 99 * GiB / 100, "1 TB"},
                               {kMax, "16 EB"}}) {
        EXPECT_EQ(memoryByteText(bytes, ","), text) << bytes;
    }
    for (auto [bytes, text] : {std::pair{uint64_t{0}, "Zero KB"},
                               {999'500, "1 MB"},
                               {999'950'000, "1 GB"},
                               {1'230'000'000'000, "1.23 TB"},
                               {kMax, "18.45 EB"}}) {
        EXPECT_EQ(fileByteText(bytes, "."), text) << bytes;
    }
    EXPECT_EQ(processMemoryText(-5, ","), "0 B");
    EXPECT_EQ(processMemoryText(1.5 * GiB, ","), "1,5 GB");
}

TEST(ByteTextTest, RatesKeepOneDigitBelowTenAfterRounding) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (const auto& [rate, text] :
         std::vector<std::pair<double, const char*>>{{0, "0 B/s"},
                                                     {12.9, "12 B/s"},
                                                     {1000, "1 KB/s"},
                                                     {1'234'567, "1,2 MB/s"},
                                                     {9'940'000, "9,9 MB/s"},
                                                     {9'960'000, "10 MB/s"},
                                                     {999'600'000, "1 GB/s"},
                                                     {std::nan(""), "0 B/s"},
                                                     {inf, "0 B/s"},
                                                     {1e30, "18 EB/s"}}) {
        EXPECT_EQ(formatRate(rate, ","), text) << rate;
    }
}

}  // namespace
}  // namespace glintdeck
