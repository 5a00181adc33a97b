#include "cli/sample_json.h"

#include <gtest/gtest.h>

#include "core/task_queue_main_thread.h"
#include "tests/support/fake_sampler_factory.h"

namespace glintdeck {
namespace {

TEST(SampleJsonTest, EveryKindAppearsWithItsFieldsAndAbsentValuesAreNull) {
    TaskQueueMainThread mainThread;
    FakeSamplerFactory factory;
    FixedInterval interval(1.0);
    StatsStore store(mainThread, factory, interval);
    store.start();
    factory.runs[0].network(NetworkSample{
        .downBytesPerSec = 1500, .interfaceName = "Ethernet (eth0)", .interfaceDevice = "eth0"});
    factory.runs[0].fan(FanSample{.hasFans = true, .fans = {{.current = 0, .max = 5200}}});
    factory.runs[0].topProcesses(TopProcessesSample{.byMemory = {{"make", 4096}}});
    mainThread.runPending();

    nlohmann::json samples = samplesJson(store);
    EXPECT_TRUE(samples.contains("topProcesses"));
    for (StatKind kind : allStatKinds())
        EXPECT_TRUE(samples.contains(rawValue(kind))) << rawValue(kind);
    EXPECT_EQ(samples["cpu"]["idlePercent"], 100);
    EXPECT_EQ(samples["network"]["downBytesPerSec"], 1500);
    EXPECT_EQ(samples["network"]["interfaceName"], "Ethernet (eth0)");
    EXPECT_EQ(samples["network"]["interface"], "eth0");
    EXPECT_TRUE(samples["network"]["localIP"].is_null());
    EXPECT_TRUE(samples["battery"]["minutesRemaining"].is_null());
    // Absent hardware used to read 0, which a script takes for a reading; a stopped fan is one.
    EXPECT_EQ(samples["fan"]["fans"][0],
              (nlohmann::json{{"current", 0}, {"min", nullptr}, {"max", 5200}}));
    for (const char* absent : {"/battery/percent", "/gpu/utilizationPercent", "/power/cpuWatts"})
        EXPECT_TRUE(samples[nlohmann::json::json_pointer(absent)].is_null()) << absent;
    EXPECT_EQ(samples["temps"]["thermalState"], 0);
    EXPECT_EQ(samples["topProcesses"]["byMemory"][0]["name"], "make");
    EXPECT_EQ(samples["topProcesses"]["byMemory"][0]["value"], 4096);
    // Round trip through text: what status bars parse.
    EXPECT_EQ(nlohmann::json::parse(samples.dump()), samples);
}

}  // namespace
}  // namespace glintdeck
