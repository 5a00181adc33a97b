#include "platform/linux/memory_pressure_reader.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(MemoryPressureReaderTest, ReadsTheMinuteOfSomeTasksStalled) {
    struct Row {
        const char* text;
        std::optional<double> expected;
    };
    for (const Row& row : {
             Row{"some avg10=0.00 avg60=12.50 avg300=3.10 total=4711\n"
                 "full avg10=0.00 avg60=4.00 avg300=1.00 total=99\n",
                 12.5},
             // no newline at the end
             Row{"some avg10=1.00 avg60=0.00 avg300=0.00 total=0", 0},
             // only "some" counts, whatever the full line says
             Row{"full avg10=0.00 avg60=40.00 avg300=0.00 total=0\n", std::nullopt},
             Row{"some avg10=1.00 avg300=2.00 total=0\n", std::nullopt},
             Row{"some avg10=1.00 avg60=nan avg300=2.00\n", std::nullopt},
             Row{"some avg10=1.00 avg60=12x avg300=2.00\n", std::nullopt},
             Row{"some avg60=250.00\n", 100},
             Row{"", std::nullopt},
         }) {
        EXPECT_EQ(parseMemoryPressure(row.text), row.expected) << row.text;
    }
    EXPECT_EQ(MemoryPressureReader("/nonexistent").memoryPressure(), std::nullopt);
}

}  // namespace
}  // namespace glintdeck
