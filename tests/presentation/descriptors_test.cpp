#include "presentation/descriptors.h"

#include <gtest/gtest.h>

#include "core/task_queue_main_thread.h"
#include "tests/support/fake_sampler_factory.h"

namespace glintdeck {
namespace {

using Rows = std::vector<StatDescriptor::Row>;

// A running store fed by hand, over settings kept in memory.
class DescriptorsTest : public testing::Test {
  protected:
    void SetUp() override { store_.start(); }

    template <typename Deliver>
    void deliver(Deliver deliver) {
        deliver(factory_.runs.back());
        mainThread_.runPending();
    }

    StatDescriptor build(StatKind kind) {
        auto built = descriptor(kind, store_, settings_, environment_, DetailKinds::all());
        EXPECT_TRUE(built) << rawValue(kind);
        return built.value_or(StatDescriptor{});
    }

    TaskQueueMainThread mainThread_;
    FakeSamplerFactory factory_;
    AppSettings settings_{PreferencesStore::inMemory()};
    StatsStore store_{mainThread_, factory_, settings_};
    DescriptorEnvironment environment_{.decimalSeparator = ",", .processorCount = 8};
};

TEST_F(DescriptorsTest, ProcessSectionsShowTheTenLargestOrNothing) {
    EXPECT_FALSE(build(StatKind::cpu).processSection);
    TopProcessesSample top;
    for (int i = 12; i > 0; --i) {
        top.byCPU.push_back({"p" + std::to_string(i), i * 10.0});
        top.byMemory.push_back({"p" + std::to_string(i), i * 1048576.0});
    }
    deliver([&](auto& run) { run.topProcesses(top); });
    auto section = *build(StatKind::cpu).processSection;
    EXPECT_EQ(section.title, "Top by CPU");
    ASSERT_EQ(section.rows.size(), 10u);
    EXPECT_EQ(section.rows.front(), (StatDescriptor::Row{"p12", "120,0%"}));
    EXPECT_EQ(section.reservedRows, 10);
    EXPECT_EQ(build(StatKind::memory).processSection->rows.front().second, "12 MB");
}

// The list follows the user's order and holds the enabled kinds that have a sample; a kind gone
// unavailable keeps its last band for when it returns.
TEST_F(DescriptorsTest, TheListFollowsTheUserOrderAndClassifiesBands) {
    using enum StatKind;
    for (StatKind kind : {battery, fan, power, gpu}) {
        EXPECT_FALSE(descriptor(kind, store_, settings_, environment_, DetailKinds::all()));
    }
    store_.lastBands()[gpu] = Band::hot;
    settings_.setStatOrder({uptime, memory, cpu, gpu, battery, network});
    settings_.setEnabledStats({cpu, uptime, battery, gpu, network});
    deliver([](auto& run) {
        run.cpu(CPUSample{.totalUsagePercent = 90});
        run.battery(BatterySample{.isPresent = true, .percent = 15});
    });
    auto list = descriptors(store_, settings_, environment_, DetailKinds::none());
    ASSERT_EQ(list.size(), 4u) << "memory turned off, no GPU sample";
    EXPECT_EQ(list[0].kind, uptime);
    EXPECT_EQ(list[1].band, Band::hot);
    EXPECT_EQ(list[1].tint, tint(Band::hot, settings_.theme().statusStyle));
    EXPECT_EQ(list[2].band, Band::hot) << "an almost empty battery is the hot case";
    EXPECT_EQ(list[3].kind, network) << "listed before its first sample";
    EXPECT_EQ(store_.lastBands().at(cpu), Band::hot);
    EXPECT_EQ(store_.lastBands().at(gpu), Band::hot);
}

TEST_F(DescriptorsTest, DetailRowsAreBuiltOnlyForTheKindsAskedFor) {
    deliver([](auto& run) {
        run.cpu(CPUSample{.totalUsagePercent = 40, .userPercent = 30});
        run.memory(MemorySample{.usedBytes = 2'000'000'000, .totalBytes = 8'000'000'000});
        run.disk(DiskSample{.freeBytes = 60, .totalBytes = 100, .readBytesPerSec = 5e6});
        run.network(NetworkSample{.downBytesPerSec = 2e6, .upBytesPerSec = 1e5});
        run.gpu(GPUSample{.isAvailable = true, .utilizationPercent = 20});
        run.battery(BatterySample{.isPresent = true, .percent = 60});
        run.fan(FanSample{.hasFans = true, .fans = {{.current = 1500, .max = 6000}}});
        run.power(PowerSample{.isAvailable = true, .cpuWatts = 4});
        run.temps(TemperatureSample{.sensors = {{"CPU", 50}}});
        run.loadAverage(LoadSample{1, 1, 1});
        run.uptime(UptimeSample{.seconds = 90});
        run.topProcesses(TopProcessesSample{.byCPU = {{"a", 5}}, .byMemory = {{"a", 5e6}}});
    });
    // Tiles alone first: the graph peaks must be tracked without the rows too.
    const auto tiles = descriptors(store_, settings_, environment_, DetailKinds::none());
    EXPECT_EQ(store_.peakStates().size(), 4u) << "disk read and write, network up and down";
    const auto card =
        descriptors(store_, settings_, environment_, DetailKinds::only(StatKind::cpu));
    const auto full = descriptors(store_, settings_, environment_, DetailKinds::all());
    ASSERT_EQ(tiles.size(), allStatKinds().size());
    ASSERT_EQ(card.size(), tiles.size());
    ASSERT_EQ(full.size(), tiles.size());
    for (size_t i = 0; i < full.size(); ++i) {
        const StatKind kind = full[i].kind;
        EXPECT_FALSE(full[i].detail.empty()) << rawValue(kind);
        EXPECT_EQ(card[i], kind == StatKind::cpu ? full[i] : tiles[i]) << rawValue(kind);
        StatDescriptor withoutRows = full[i];
        withoutRows.detail.clear();
        withoutRows.processSection.reset();
        EXPECT_EQ(tiles[i], withoutRows) << rawValue(kind) << ": the tile is the same either way";
    }
}

TEST(TintTest, SuppressedStylesTintWithPrimaryTextWhateverTheBand) {
    for (Band band : {Band::calm, Band::busy, Band::hot}) {
        EXPECT_EQ(tint(band, Theme::StatusStyle::suppressed), Tint::primaryText);
    }
    EXPECT_EQ(tint(Band::busy, Theme::StatusStyle::standard), Tint::busy);
    EXPECT_EQ(tint(Band::calm, Theme::StatusStyle::emphasized), Tint::calm);
}

// The values' texts and loads are the text and load functions' rules; here the rows each kind
// builds from its sample. Free memory never wraps, CPU and GPU rows take their sensor's
// temperature, and a graph of a silent direction must still have a peak to scale against.
TEST_F(DescriptorsTest, EachKindBuildsItsOwnRowsAndGraph) {
    EXPECT_EQ(build(StatKind::uptime).detail[1], (StatDescriptor::Row{"Booted", "—"}))
        << "no boot time yet";
    deliver([](auto& run) { run.temps(TemperatureSample{.thermalState = ThermalState::serious}); });
    EXPECT_EQ(build(StatKind::temps).detail, (Rows{{"Pressure", "Serious"}})) << "no sensors";
    deliver([](auto& run) {
        run.cpu(CPUSample{.totalUsagePercent = 37.5,
                          .userPercent = 25,
                          .systemPercent = 12.5,
                          .idlePercent = 62.5});
        run.temps(TemperatureSample{.sensors = {{"CPU", 61.6}, {"GPU", 50.2}}});
        run.gpu(GPUSample{.isAvailable = true, .utilizationPercent = 3});
        run.memory(MemorySample{.usedBytes = 10, .totalBytes = 8});
        run.network(NetworkSample{.downBytesPerSec = 1'250'000});
        run.fan(FanSample{.hasFans = true,
                          .fans = {{.current = 1500, .min = 1000, .max = 6000},
                                   {.current = 2500, .min = 1000, .max = 6000}}});
        run.loadAverage(LoadSample{12.0, 2.0, 1.0});
        run.power(PowerSample{.isAvailable = true, .cpuWatts = 4.5, .gpuWatts = 0.5});
    });
    StatDescriptor cpu = build(StatKind::cpu);
    EXPECT_EQ(cpu.value, "38%");
    EXPECT_EQ(cpu.detail,
              (Rows{{"User", "25%"}, {"System", "13%"}, {"Idle", "63%"}, {"Temp", "62°C"}}));
    EXPECT_EQ(cpu.graph->upper.values, std::vector<double>{37.5});
    EXPECT_FALSE(cpu.graph->upper.peakFormatted) << "percent peaks are fixed";
    EXPECT_EQ(build(StatKind::gpu).detail.back(), (StatDescriptor::Row{"Temp", "50°C"}));
    EXPECT_EQ(build(StatKind::temps).detail, (Rows{{"CPU", "62°C"}, {"GPU", "50°C"}}));
    EXPECT_EQ(build(StatKind::memory).detail[1], (StatDescriptor::Row{"Free", "Zero KB"}));
    GraphData network = *build(StatKind::network).graph;
    EXPECT_EQ(network.upper.peak, 1);
    EXPECT_EQ(network.upper.peakFormatted, "0 B/s");
    EXPECT_EQ(build(StatKind::fan).detail[0],
              (StatDescriptor::Row{"Fan 1", "1500 rpm (1000–6000)"}));
    EXPECT_EQ(build(StatKind::loadAverage).detail.back(), (StatDescriptor::Row{"Cores", "8"}));
    EXPECT_EQ(build(StatKind::power).detail[4], (StatDescriptor::Row{"Total", "5.0 W"}));

    // How a mode marks and combines the texts is the tile value's rule.
    settings_.setTileValueMode(TileValueMode::bothReversed, StatKind::memory);
    EXPECT_EQ(build(StatKind::memory).value, "F Zero KB");
}

}  // namespace
}  // namespace glintdeck
