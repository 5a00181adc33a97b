#include <gtest/gtest.h>

#include "samplers/load_average_sampler.h"
#include "samplers/uptime_sampler.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

class FixedLoad final : public LoadAverageSource {
  public:
    explicit FixedLoad(int filled) : filled_(filled) {}
    int loadAverages(std::array<double, 3>& values) override {
        values = {1.5, 2.5, 3.5};
        return filled_;
    }

  private:
    int filled_;
};

class FixedBootTime final : public BootTimeSource {
  public:
    explicit FixedBootTime(std::optional<BootTime> boot) : boot_(boot) {}
    std::optional<BootTime> bootTime() override { return boot_; }

  private:
    std::optional<BootTime> boot_;
};

class FixedClock final : public Clock {
  public:
    double wallSeconds() const override { return 1'000'000.75; }
    double secondsSinceBoot() const override { return 0; }
};

LoadSample loadWith(int filled) {
    ManualExecutor executor;
    std::vector<LoadSample> samples;
    auto sampler =
        std::make_shared<LoadAverageSampler>(executor, 1.0, std::make_unique<FixedLoad>(filled),
                                             [&](const LoadSample& s) { samples.push_back(s); });
    sampler->start();
    executor.runUntilIdle();
    EXPECT_EQ(samples.size(), 1u);
    return samples.empty() ? LoadSample{} : samples.back();
}

UptimeSample uptimeWith(std::optional<BootTime> boot) {
    ManualExecutor executor;
    std::vector<UptimeSample> samples;
    auto sampler = std::make_shared<UptimeSampler>(
        executor, 1.0, std::make_unique<FixedBootTime>(boot), std::make_shared<FixedClock>(),
        [&](const UptimeSample& s) { samples.push_back(s); });
    sampler->start();
    executor.runUntilIdle();
    EXPECT_EQ(samples.size(), 1u);
    return samples.empty() ? UptimeSample{} : samples.back();
}

TEST(LoadAverageSamplerTest, DeliversZerosUnlessAllThreeValuesWereRead) {
    EXPECT_EQ(loadWith(3), (LoadSample{1.5, 2.5, 3.5}));
    for (int filled : {-1, 0, 2}) EXPECT_EQ(loadWith(filled), LoadSample::empty()) << filled;
}

TEST(UptimeSamplerTest, MeasuresFromTheBootTimeWithMicroseconds) {
    EXPECT_DOUBLE_EQ(uptimeWith(BootTime{999'000, 250'000}).seconds, 1000.5);
}

TEST(UptimeSamplerTest, UnknownOrFutureBootTimeReadsZero) {
    EXPECT_EQ(uptimeWith(std::nullopt).seconds, 0);
    EXPECT_EQ(uptimeWith(BootTime{2'000'000, 0}).seconds, 0);
}

}  // namespace
}  // namespace glintdeck
