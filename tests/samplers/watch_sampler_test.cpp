#include "samplers/watch_sampler.h"

#include <gtest/gtest.h>

#include "tests/samplers/fake_process_table.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

class FixedPressure final : public PressureSource {
  public:
    std::optional<double> memoryPressure() override { return 3.5; }
};

TEST(WatchSamplerTest, ScansOnlyWhenAskedAndGivesTheTableBack) {
    ManualExecutor executor;
    auto table = std::make_unique<FakeProcessTable>();
    FakeProcessTable& fake = *table;
    fake.rows = {row(1, 5, 900, "big"), row(2, 99, 10, "yes")};
    std::vector<WatchSample> samples;
    auto sampler = std::make_shared<WatchSampler>(
        executor, 10, 2, std::move(table), std::make_unique<FixedPressure>(),
        [&](const WatchSample& sample) { samples.push_back(sample); });
    sampler->start();
    executor.advance(5);
    sampler->setScanProcesses(true);
    executor.advance(40);  // scans at 10 (a baseline) and 30
    sampler->setScanProcesses(false);
    executor.advance(10);
    sampler->stop();
    executor.runUntilIdle();

    ASSERT_EQ(samples.size(), 6u);
    EXPECT_EQ(samples[0], (WatchSample{.memoryPressure = 3.5}));
    // A baseline measures no processor time, but resident memory needs no earlier scan.
    EXPECT_EQ(samples[1].busiest, std::nullopt);
    EXPECT_EQ(samples[1].largest, (WatchedProcess{1, 1, "big", 900}));
    EXPECT_EQ(samples[2].busiest, std::nullopt);
    EXPECT_EQ(samples[2].largest, samples[1].largest) << "between scans, the last one's";
    const WatchedProcess yes{2, 1, "yes", 99};
    EXPECT_EQ(samples[3].busiest, yes);
    EXPECT_EQ(samples[4].busiest, yes) << "between scans, the last one's";
    EXPECT_EQ(samples[5], (WatchSample{.memoryPressure = 3.5}));
    EXPECT_EQ(fake.scans, 2);
    EXPECT_EQ(fake.resets, 1) << "the open files of the table go when no longer asked for";
}

}  // namespace
}  // namespace glintdeck
