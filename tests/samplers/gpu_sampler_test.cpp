#include "samplers/gpu_sampler.h"

#include <gtest/gtest.h>

#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

using namespace std::string_literals;

struct FixedAccelerators final : AcceleratorSource {
    explicit FixedAccelerators(std::vector<PropertyTable> tables) : tables(std::move(tables)) {}
    std::vector<PropertyTable> accelerators() override { return tables; }
    std::vector<PropertyTable> tables;
};

GPUSample sampleOf(std::vector<PropertyTable> accelerators) {
    auto samples =
        samplesOf<GPUSampler>(1, std::make_unique<FixedAccelerators>(std::move(accelerators)));
    return samples.empty() ? GPUSample{.utilizationPercent = -1} : samples[0];
}

PropertyTable statistics(PropertyTable figures, PropertyTable names = {}) {
    names.insert_or_assign("PerformanceStatistics", std::move(figures));
    return names;
}

PropertyTable busy(int64_t percent, PropertyTable names = {}) {
    return statistics({{"Device Utilization %", percent}}, std::move(names));
}

TEST(GPUSamplerTest, TheFirstAcceleratorWithAUtilizationQualifies) {
    EXPECT_EQ(sampleOf({{{"model", PropertyData{"Integrated"}}},
                        busy(37, {{"model", PropertyData{"Discrete"}}})}),
              (GPUSample{.isAvailable = true, .utilizationPercent = 37, .deviceName = "Discrete"}));
    EXPECT_EQ(sampleOf({{{"PerformanceStatistics", 12}},
                        statistics({{"Device Utilization %", 12.5}}),
                        busy(5)})
                  .utilizationPercent,
              5)
        << "statistics that are no table and a utilization that is no integer";
    EXPECT_EQ(sampleOf({}), GPUSample::empty());
    EXPECT_EQ(sampleOf({{{"IOClass", "i915"}}}), GPUSample::empty());
}

TEST(GPUSamplerTest, UtilizationIsClampedAndFallsBackToTheActivityKey) {
    for (const auto& [accelerator, percent] : std::vector<std::pair<PropertyTable, double>>{
             {busy(140), 100},
             {busy(-5), 0},
             {statistics({{"GPU Activity(%)", 37}}), 37},
             {statistics({{"Device Utilization %", 12}, {"GPU Activity(%)", 37}}), 12},
         }) {
        EXPECT_EQ(sampleOf({accelerator}).utilizationPercent, percent);
    }
}

TEST(GPUSamplerTest, ModelNamesAreCleanedAndOnlyAMissingModelFallsBackToTheClass) {
    for (const auto& [bytes, name] :
         std::vector<std::pair<std::string, std::optional<std::string>>>{
             {"Radeon Pro\0"s, "Radeon Pro"},
             {"\0 \tApple M2\t \0\0"s, "Apple M2"},
             {"\0\0\0"s, std::nullopt},
             {"Radeon\xC2\xAE", std::nullopt},  // not ASCII
         }) {
        EXPECT_EQ(modelName(bytes), name) << bytes;
    }
    auto named = [](PropertyTable names) { return sampleOf({busy(10, names)}).deviceName; };
    EXPECT_EQ(named({{"model", PropertyData{"   "}}, {"IOClass", "AGX"}}), std::nullopt)
        << "a model that cleans up to nothing";
    EXPECT_EQ(named({{"IOClass", "AGXAcceleratorG14"}}), "AGXAcceleratorG14");
    EXPECT_EQ(named({{"model", "Radeon"}, {"IOClass", "amdgpu"}}), "amdgpu")
        << "a model as text is not data";
    EXPECT_EQ(named({}), std::nullopt);
}

}  // namespace
}  // namespace glintdeck
