#include "platform/linux/linux_sampler_factory.h"

#include <gtest/gtest.h>

#include "tests/support/fake_clock.h"
#include "tests/support/fixtures.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

// Starts a sampler, lets it tick twice and returns what it delivered.
template <typename Sample, typename Make>
std::vector<Sample> twoTicks(Make make) {
    ManualExecutor executor;
    LinuxSamplerFactory factory(executor, std::make_shared<FakeClock>(), fixtureRoot("this-vm"));
    std::vector<Sample> samples;
    std::shared_ptr<Sampler> sampler =
        make(factory, [&](const Sample& sample) { samples.push_back(sample); });
    EXPECT_NE(sampler, nullptr);
    if (!sampler) return samples;
    sampler->start();
    executor.advance(1.5);
    sampler->stop();
    executor.runUntilIdle();
    return samples;
}

TEST(LinuxSamplerFactoryTest, SensorSamplersOnAMachineWithoutSensorsDeliverTheirAbsentValues) {
    testing::internal::CaptureStderr();
    auto fans = twoTicks<FanSample>(
        [](LinuxSamplerFactory& f, auto on) { return f.makeFanSampler(1.0, on); });
    auto power = twoTicks<PowerSample>(
        [](LinuxSamplerFactory& f, auto on) { return f.makePowerSampler(1.0, on); });
    auto temperatures = twoTicks<TemperatureSample>(
        [](LinuxSamplerFactory& f, auto on) { return f.makeTemperatureSampler(1.0, on); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    EXPECT_EQ(fans, std::vector<FanSample>(2, FanSample::empty()));
    EXPECT_EQ(power, std::vector<PowerSample>(2, PowerSample::empty()));
    EXPECT_EQ(temperatures, std::vector<TemperatureSample>(2, TemperatureSample::empty()))
        << "the thermal state alone, nominal";
}

}  // namespace
}  // namespace glintdeck
