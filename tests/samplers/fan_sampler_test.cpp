#include "samplers/fan_sampler.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/fake_smc.h"
#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

FanSample firstSample(const std::shared_ptr<FakeSmcState>& state) {
    auto samples = samplesOf<FanSampler>(1, fakeSmcOpener(state));
    return samples.empty() ? FanSample{} : samples[0];
}

TEST(FanSamplerTest, ReportsAnsweringFansInIndexOrderWithMissingLimitsAtZero) {
    auto state = std::make_shared<FakeSmcState>();
    // Fan 0 has limits alone, which do not make a fan.
    const std::pair<const char*, float> keys[] = {{"FNum", 3},    {"F0Mn", 1000}, {"F0Mx", 6000},
                                                  {"F1Ac", 2000}, {"F1Mn", 1000}, {"F1Mx", 6000},
                                                  {"F2Ac", 1500}};
    for (const auto& [key, value] : keys) state->setFloat(key, value);
    state->set("F2Mx", "flt ", {});  // known key, but no value
    EXPECT_EQ(firstSample(state),
              (FanSample{.hasFans = true, .fans = {{2000, 1000, 6000}, {1500, 0, 0}}}));
}

TEST(FanSamplerTest, FanlessOrUnreadableCountsGiveTheEmptySampleEveryTick) {
    for (std::optional<float> count :
         std::vector<std::optional<float>>{std::nullopt, 0.0f, 0.9f, -3.0f, NAN, INFINITY}) {
        auto state = std::make_shared<FakeSmcState>();
        if (count) state->setFloat("FNum", *count);
        state->setFloat("F0Ac", 1000);
        EXPECT_EQ(samplesOf<FanSampler>(2, fakeSmcOpener(state)),
                  std::vector(2, FanSample::empty()));
    }
    EXPECT_EQ(samplesOf<FanSampler>(2, SmcOpener([] { return std::unique_ptr<SmcConnection>(); })),
              std::vector(2, FanSample::empty()))
        << "no controller still delivers";
}

TEST(FanSamplerTest, CountsPastTenReadOnlyTheTenFormableKeys) {
    auto state = std::make_shared<FakeSmcState>();
    state->setFloat("FNum", 12);
    for (char digit = '0'; digit <= '9'; ++digit) {
        state->setFloat(std::string("F") + digit + "Ac", 1000.0f + static_cast<float>(digit - '0'));
    }
    FanSample sample = firstSample(state);
    ASSERT_EQ(sample.fans.size(), 10u);
    EXPECT_EQ(sample.fans[9].current, 1009);
}

}  // namespace
}  // namespace glintdeck
