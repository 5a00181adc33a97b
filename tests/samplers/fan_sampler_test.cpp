#include "samplers/fan_sampler.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/fake_smc.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

std::vector<FanSample> run(const SmcOpener& opener, int ticks = 1) {
    ManualExecutor executor;
    std::vector<FanSample> samples;
    auto sampler = std::make_shared<FanSampler>(executor, 1.0, opener,
                                                [&](const FanSample& s) { samples.push_back(s); });
    sampler->start();
    executor.advance(ticks - 0.5);
    sampler->stop();
    executor.runUntilIdle();
    return samples;
}

FanSample firstSample(const std::shared_ptr<FakeSmcState>& state) {
    auto samples = run(fakeSmcOpener(state));
    EXPECT_EQ(samples.size(), 1u);
    return samples.empty() ? FanSample{} : samples[0];
}

TEST(FanSamplerTest, ReportsAnsweringFansInIndexOrderWithMissingLimitsAtZero) {
    auto state = std::make_shared<FakeSmcState>();
    state->set("FNum", "ui8 ", {3});
    state->setFloat("F0Mn", 1000);  // limits alone do not make a fan
    state->setFloat("F0Mx", 6000);
    state->set("F1Ac", "fpe2", {0x1F, 0x40});  // 2000
    state->set("F1Mn", "fpe2", {0x0F, 0xA0});  // 1000
    state->set("F1Mx", "fpe2", {0x5D, 0xC0});  // 6000
    state->setFloat("F2Ac", 1500);
    state->set("F2Mx", "ui16", {});  // known key, but no value
    EXPECT_EQ(firstSample(state),
              (FanSample{.hasFans = true, .fans = {{2000, 1000, 6000}, {1500, 0, 0}}}));
}

TEST(FanSamplerTest, FanlessOrUnreadableCountsGiveTheEmptySampleEveryTick) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (std::optional<double> count :
         {std::optional<double>{}, std::optional<double>{0.0}, std::optional<double>{0.9},
          std::optional<double>{-3.0}, std::optional<double>{nan}, std::optional<double>{inf}}) {
        auto state = std::make_shared<FakeSmcState>();
        if (count) state->setFloat("FNum", static_cast<float>(*count));
        state->setFloat("F0Ac", 1000);
        auto samples = run(fakeSmcOpener(state), 3);
        ASSERT_EQ(samples.size(), 3u);
        for (const FanSample& s : samples) EXPECT_EQ(s, FanSample::empty());
    }

    auto samples = run([] { return std::unique_ptr<SmcConnection>(); }, 2);
    ASSERT_EQ(samples.size(), 2u) << "no controller still delivers";
    EXPECT_EQ(samples[1], FanSample::empty());
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
