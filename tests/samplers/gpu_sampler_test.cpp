#include "samplers/gpu_sampler.h"

#include <gtest/gtest.h>

#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

using namespace std::string_literals;

class FixedAccelerators final : public AcceleratorSource {
  public:
    explicit FixedAccelerators(std::vector<PropertyTable> tables) : tables_(std::move(tables)) {}
    std::vector<PropertyTable> accelerators() override { return tables_; }

  private:
    std::vector<PropertyTable> tables_;
};

GPUSample sampleOf(std::vector<PropertyTable> accelerators) {
    ManualExecutor executor;
    std::vector<GPUSample> samples;
    auto sampler = std::make_shared<GPUSampler>(
        executor, 1.0, std::make_unique<FixedAccelerators>(std::move(accelerators)),
        [&](const GPUSample& sample) { samples.push_back(sample); });
    sampler->start();
    executor.advance(1.5);
    sampler->stop();
    EXPECT_EQ(samples.size(), 2u) << "every tick delivers";
    return samples.empty() ? GPUSample::empty() : samples.back();
}

PropertyTable busy(int64_t percent) {
    return {{"PerformanceStatistics", PropertyTable{{"Device Utilization %", percent}}}};
}

TEST(GPUSamplerTest, TheFirstAcceleratorWithAUtilizationQualifies) {
    PropertyTable noStatistics{{"model", PropertyData{"Integrated"}}};
    PropertyTable second = busy(37);
    second.insert_or_assign("model", PropertyData{"Discrete"});
    EXPECT_EQ(sampleOf({noStatistics, second}),
              (GPUSample{.isAvailable = true, .utilizationPercent = 37, .deviceName = "Discrete"}));

    PropertyTable statisticsNotATable{{"PerformanceStatistics", 12}};
    PropertyTable utilizationNotAnInteger{
        {"PerformanceStatistics", PropertyTable{{"Device Utilization %", 12.5}}}};
    EXPECT_EQ(sampleOf({statisticsNotATable, utilizationNotAnInteger, busy(5)}).utilizationPercent,
              5);
}

TEST(GPUSamplerTest, UtilizationIsClampedAndFallsBackToTheActivityKey) {
    EXPECT_EQ(sampleOf({busy(140)}).utilizationPercent, 100);
    EXPECT_EQ(sampleOf({busy(-5)}).utilizationPercent, 0);
    PropertyTable activity{{"PerformanceStatistics", PropertyTable{{"GPU Activity(%)", 37}}}};
    EXPECT_EQ(sampleOf({activity}).utilizationPercent, 37);
    PropertyTable both{{"PerformanceStatistics",
                        PropertyTable{{"Device Utilization %", 12}, {"GPU Activity(%)", 37}}}};
    EXPECT_EQ(sampleOf({both}).utilizationPercent, 12);
}

TEST(GPUSamplerTest, ModelNameIsCleanedAndOnlyAMissingModelFallsBackToTheClass) {
    struct Row {
        const char* what;
        PropertyTable extra;
        std::optional<std::string> name;
    };
    for (const Row& row : {
             Row{"trailing NUL", {{"model", PropertyData{"Radeon Pro\0"s}}}, "Radeon Pro"},
             Row{"NULs then blanks",
                 {{"model", PropertyData{"\0 \tApple M2\t \0\0"s}}},
                 "Apple M2"},
             Row{"all NULs",
                 {{"model", PropertyData{"\0\0\0"s}}, {"IOClass", "AGX"}},
                 std::nullopt},
             Row{"all blanks", {{"model", PropertyData{"   "}}, {"IOClass", "AGX"}}, std::nullopt},
             Row{"not ASCII",
                 {{"model", PropertyData{"Radeon\xC2\xAE"}}, {"IOClass", "AGX"}},
                 std::nullopt},
             Row{"model missing", {{"IOClass", "AGXAcceleratorG14"}}, "AGXAcceleratorG14"},
             Row{"model as text is not data",
                 {{"model", "Radeon"}, {"IOClass", "amdgpu"}},
                 "amdgpu"},
             Row{"nothing at all", {}, std::nullopt},
         }) {
        PropertyTable accelerator = busy(10);
        accelerator.insert(row.extra.begin(), row.extra.end());
        GPUSample sample = sampleOf({accelerator});
        EXPECT_TRUE(sample.isAvailable) << row.what;
        EXPECT_EQ(sample.deviceName, row.name) << row.what;
    }
}

TEST(GPUSamplerTest, NoQualifyingAcceleratorGivesTheEmptySample) {
    EXPECT_EQ(sampleOf({}), GPUSample::empty());
    EXPECT_EQ(sampleOf({{{"IOClass", "i915"}}}), GPUSample::empty());
}

}  // namespace
}  // namespace glintdeck
