#include "samplers/cpu_sampler.h"

#include <gtest/gtest.h>

#include <deque>

#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

// Hands out scripted readings, one per tick; nothing once the script runs out.
class ScriptedCPULoad final : public CPULoadSource {
  public:
    explicit ScriptedCPULoad(std::deque<std::optional<CPUTicks>> script)
        : script_(std::move(script)) {}
    std::optional<CPUTicks> read() override {
        if (script_.empty()) return std::nullopt;
        auto next = script_.front();
        script_.pop_front();
        return next;
    }

  private:
    std::deque<std::optional<CPUTicks>> script_;
};

std::vector<CPUSample> run(std::deque<std::optional<CPUTicks>> script) {
    ManualExecutor executor;
    std::vector<CPUSample> samples;
    size_t ticks = script.size();
    auto sampler = std::make_shared<CPUSampler>(
        executor, 1.0, std::make_unique<ScriptedCPULoad>(std::move(script)),
        [&](const CPUSample& sample) { samples.push_back(sample); });
    sampler->start();
    executor.advance(static_cast<double>(ticks) - 0.5);
    sampler->stop();
    return samples;
}

TEST(CPUSamplerTest, FirstTickOnlyRecordsTheCounters) {
    auto samples = run({CPUTicks{100, 50, 800, 0}, CPUTicks{130, 60, 860, 0}});
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_DOUBLE_EQ(samples[0].totalUsagePercent, 40);
    EXPECT_DOUBLE_EQ(samples[0].userPercent, 30);
    EXPECT_DOUBLE_EQ(samples[0].systemPercent, 10);
    EXPECT_DOUBLE_EQ(samples[0].idlePercent, 60);
}

TEST(CPUSamplerTest, StillCountersDeliverNothingButBecomeTheBaseline) {
    auto samples =
        run({CPUTicks{100, 50, 800, 0}, CPUTicks{100, 50, 800, 0}, CPUTicks{110, 50, 840, 0}});
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_DOUBLE_EQ(samples[0].totalUsagePercent, 20);
}

TEST(CPUSamplerTest, FailedReadKeepsThePreviousBaseline) {
    auto samples = run({CPUTicks{100, 0, 100, 0}, std::nullopt, CPUTicks{200, 0, 200, 0}});
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_DOUBLE_EQ(samples[0].totalUsagePercent, 50);
}

TEST(CPUSamplerTest, CounterWrappingPast32BitsGivesTheTrueDelta) {
    auto samples = run({CPUTicks{0xFFFFFFF0u, 0, 0xFFFFFF00u, 0}, CPUTicks{0x10, 0, 0x20, 0}});
    ASSERT_EQ(samples.size(), 1u);
    // user moved 0x20, idle moved 0x120.
    EXPECT_DOUBLE_EQ(samples[0].userPercent, 0x20 * 100.0 / (0x20 + 0x120));
    EXPECT_DOUBLE_EQ(samples[0].idlePercent, 0x120 * 100.0 / (0x20 + 0x120));
}

TEST(CPUSamplerTest, NiceTicksCountAsBusyWithoutAFieldOfTheirOwn) {
    auto samples = run({CPUTicks{0, 0, 0, 0}, CPUTicks{10, 10, 60, 20}});
    ASSERT_EQ(samples.size(), 1u);
    const CPUSample& s = samples[0];
    EXPECT_LT(s.userPercent + s.systemPercent + s.idlePercent, 100);
    EXPECT_DOUBLE_EQ(s.totalUsagePercent + s.idlePercent, 100);
}

}  // namespace
}  // namespace glintdeck
