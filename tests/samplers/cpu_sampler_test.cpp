#include "samplers/cpu_sampler.h"

#include <gtest/gtest.h>

#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

struct ScriptedCPULoad final : CPULoadSource {
    explicit ScriptedCPULoad(Script<CPUTicks> script) : script(std::move(script)) {}
    std::optional<CPUTicks> read() override { return script.next(); }
    Script<CPUTicks> script;
};

// The first tick only records the counters; each later one delivers its share of the ticks.
TEST(CPUSamplerTest, UsageFromTheCountersOfTwoReadings) {
    struct Row {
        const char* what;
        std::deque<std::optional<CPUTicks>> readings;
        CPUSample expected;
    };
    for (const Row& row : {
             Row{"user and system", {{{100, 50, 800, 0}}, {{130, 60, 860, 0}}}, {40, 30, 10, 60}},
             Row{"still counters deliver nothing but become the baseline",
                 {{{100, 50, 800, 0}}, {{100, 50, 800, 0}}, {{110, 50, 840, 0}}},
                 {20, 20, 0, 80}},
             Row{"a failed read keeps the previous baseline",
                 {{{100, 0, 100, 0}}, std::nullopt, {{200, 0, 200, 0}}},
                 {50, 50, 0, 50}},
             Row{"counters wrapping past 32 bits give the true delta",
                 {{{0xFFFFFFF0u, 0, 0xFFFFFF00u, 0}}, {{0x10, 0, 0x20, 0}}},
                 {10, 10, 0, 90}},
             Row{"nice ticks count as busy without a field of their own",
                 {{{0, 0, 0, 0}}, {{10, 10, 60, 20}}},
                 {40, 10, 10, 60}},
         }) {
        SCOPED_TRACE(row.what);
        auto ticks = static_cast<int>(row.readings.size());
        EXPECT_EQ(samplesOf<CPUSampler>(
                      ticks, std::make_unique<ScriptedCPULoad>(Script<CPUTicks>{row.readings})),
                  std::vector<CPUSample>{row.expected});
    }
}

}  // namespace
}  // namespace glintdeck
