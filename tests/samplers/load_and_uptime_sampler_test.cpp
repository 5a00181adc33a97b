#include <gtest/gtest.h>

#include "samplers/load_average_sampler.h"
#include "samplers/uptime_sampler.h"
#include "tests/support/manual_clock.h"
#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

struct FixedLoad final : LoadAverageSource {
    explicit FixedLoad(int filled) : filled(filled) {}
    int loadAverages(std::array<double, 3>& values) override {
        values = {1.5, 2.5, 3.5};
        return filled;
    }
    int filled;
};

struct FixedBootTime final : BootTimeSource {
    explicit FixedBootTime(std::optional<BootTime> boot) : boot(boot) {}
    std::optional<BootTime> bootTime() override { return boot; }
    std::optional<BootTime> boot;
};

TEST(LoadAverageSamplerTest, DeliversZerosUnlessAllThreeValuesWereRead) {
    for (int filled : {-1, 0, 2, 3}) {
        LoadSample expected = filled == 3 ? LoadSample{1.5, 2.5, 3.5} : LoadSample::empty();
        EXPECT_EQ(samplesOf<LoadAverageSampler>(1, std::make_unique<FixedLoad>(filled)),
                  std::vector{expected})
            << filled;
    }
}

TEST(UptimeSamplerTest, MeasuresFromTheBootTimeWithMicrosecondsAndNeverBelowZero) {
    auto clock = std::make_shared<ManualClock>();
    auto uptime = [&](std::optional<BootTime> boot) {
        auto samples = samplesOf<UptimeSampler>(1, std::make_unique<FixedBootTime>(boot), clock);
        return samples.empty() ? -1 : samples[0].seconds;
    };
    const auto now = static_cast<int64_t>(clock->wallSeconds());
    EXPECT_DOUBLE_EQ(uptime(BootTime{now - 1001, 250'000}), 1000.75);
    EXPECT_EQ(uptime(std::nullopt), 0) << "unknown";
    EXPECT_EQ(uptime(BootTime{now + 1000, 0}), 0) << "in the future";
}

}  // namespace
}  // namespace glintdeck
