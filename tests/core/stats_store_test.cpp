#include "core/stats_store.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/task_queue_main_thread.h"
#include "tests/support/fake_sampler_factory.h"

namespace glintdeck {
namespace {

class StatsStoreTest : public testing::Test {
  protected:
    void recordChanges() {
        changes_.clear();
        subscription_ = store_->subscribe([this](StoreField field) { changes_.push_back(field); });
    }

    FakeSampler& topSampler() { return static_cast<FakeSampler&>(*store_->topProcessSampler()); }

    TaskQueueMainThread mainThread_;
    FakeSamplerFactory factory_;
    FixedInterval interval_{1.0};
    std::unique_ptr<StatsStore> store_ =
        std::make_unique<StatsStore>(mainThread_, factory_, interval_);
    std::vector<StoreField> changes_;
    Subscription subscription_;
};

TEST_F(StatsStoreTest, StartCreatesTheSamplersOnceAndStartsAllButTopProcesses) {
    recordChanges();
    store_->stop();
    EXPECT_TRUE(changes_.empty()) << "stopping a store that never started changes nothing";

    store_->start();
    store_->start();
    ASSERT_EQ(factory_.runs.size(), 1u);
    EXPECT_EQ(factory_.runs[0].interval, 1.0);
    const FakeSampler* top = &topSampler();
    for (const auto& sampler : factory_.runs[0].samplers) {
        EXPECT_EQ(sampler->starts, sampler.get() == top ? 0 : 1);
    }

    store_->stop();
    EXPECT_FALSE(store_->isRunning());
    for (const auto& sampler : factory_.runs[0].samplers) EXPECT_EQ(sampler->stops, 1);
    EXPECT_EQ(store_->sampler(StatKind::cpu), nullptr);
}

TEST_F(StatsStoreTest, HistoryCoversOneMinuteAtAnyInterval) {
    const std::pair<double, std::ptrdiff_t> rows[] = {
        {1.0, 60}, {0.25, 240}, {5.0, 12}, {0.7, 86}, {0.05, 600}, {60, 1}, {61, 1}, {NAN, 600}};
    for (const auto& [interval, capacity] : rows) {
        EXPECT_EQ(StatsStore::historyCapacity(interval), capacity) << interval;
    }
}

TEST_F(StatsStoreTest, SamplesHopToTheMainThreadAndGraphedKindsCountRevisions) {
    store_->start();
    auto& run = factory_.runs[0];
    run.cpu(CPUSample{.totalUsagePercent = 42, .idlePercent = 58});
    run.battery(BatterySample{.isPresent = true, .percent = 80});
    run.uptime(UptimeSample{.seconds = 10});
    EXPECT_EQ(store_->cpu(), CPUSample::empty()) << "nothing applies before the main thread runs";

    mainThread_.runPending();
    EXPECT_EQ(store_->cpu().totalUsagePercent, 42);
    EXPECT_EQ(store_->cpuHistory().ordered().size(), 1u);
    EXPECT_EQ(store_->battery().percent, 80);
    EXPECT_EQ(store_->uptime().seconds, 10);
    EXPECT_EQ(store_->historyRevisions(), (std::map<StatKind, int64_t>{{StatKind::cpu, 1}}));
}

// A change in an optional field is a change too.
TEST_F(StatsStoreTest, EqualSamplesAreStoredSilentlyButChangesAndHistoryAppendsAnnounce) {
    store_->start();
    auto& run = factory_.runs[0];
    run.memory(MemorySample{.usedBytes = 1});
    run.loadAverage(LoadSample{1, 2, 3});
    run.network(NetworkSample{.interfaceName = "en0"});
    mainThread_.runPending();

    recordChanges();
    run.memory(MemorySample{.usedBytes = 1});
    run.loadAverage(LoadSample{1, 2, 3});
    run.network(NetworkSample{.interfaceName = "en0", .localIP = "10.0.0.2"});
    mainThread_.runPending();
    EXPECT_EQ(changes_,
              (std::vector<StoreField>{StoreField::memoryHistory, sampleField(StatKind::network),
                                       StoreField::networkHistory}));
    EXPECT_EQ(store_->historyRevisions().at(StatKind::memory), 2);
}

TEST_F(StatsStoreTest, PeakFollowsAtOnceHoldsWithinARevisionAndDecaysTenPercentPerSample) {
    store_->start();
    auto deliverNetworkSample = [&] {
        factory_.runs[0].network(NetworkSample{});
        mainThread_.runPending();
    };
    EXPECT_EQ(store_->peak(StatKind::network, "down", 8), 8) << "no state: observed as it is";
    EXPECT_EQ(store_->peak(StatKind::network, "down", 5), 8) << "same revision holds";
    deliverNetworkSample();
    EXPECT_DOUBLE_EQ(store_->peak(StatKind::network, "down", 5), 7.2);
    deliverNetworkSample();
    EXPECT_DOUBLE_EQ(store_->peak(StatKind::network, "down", 5), 6.48);
    deliverNetworkSample();
    EXPECT_EQ(store_->peak(StatKind::network, "down", 9), 9);
    EXPECT_EQ(store_->peak(StatKind::network, "up", 3), 3) << "series are kept apart";
    EXPECT_TRUE(store_->peakStates().contains("network.down"));

    EXPECT_EQ(store_->peak(StatKind::disk, "read", 0), 0);
    factory_.runs[0].disk(DiskSample{});
    mainThread_.runPending();
    EXPECT_EQ(store_->peak(StatKind::disk, "read", -2), -2) << "a zero peak does not decay";
}

TEST_F(StatsStoreTest, PanelVisibilityDrivesTheTopProcessSampler) {
    recordChanges();
    store_->setPanelVisible(false);
    EXPECT_TRUE(changes_.empty()) << "the first false changes nothing";

    store_->setPanelVisible(true);  // before start: no sampler yet
    store_->start();
    FakeSampler& top = topSampler();
    EXPECT_EQ(top.starts, 1) << "start honours a panel that is already visible";

    factory_.runs[0].topProcesses(TopProcessesSample{.byCPU = {{"make", 90}}});
    mainThread_.runPending();
    store_->setPanelVisible(false);
    EXPECT_EQ(top.stops, 1);
    EXPECT_EQ(store_->topProcesses(), TopProcessesSample::empty());
    store_->setPanelVisible(false);
    EXPECT_EQ(top.stops, 1);
    store_->setPanelVisible(true);
    EXPECT_EQ(top.starts, 2);
}

TEST_F(StatsStoreTest, RestartStartsHistoriesAfreshButKeepsSamplesBandsAndTheVisiblePanel) {
    store_->setPanelVisible(true);
    store_->start();
    factory_.runs[0].cpu(CPUSample{.totalUsagePercent = 10});
    mainThread_.runPending();
    store_->peak(StatKind::cpu, "cpu", 10);
    store_->lastBands()[StatKind::cpu] = Band::hot;

    store_->stop();
    interval_.seconds = 2.0;
    store_->start();
    EXPECT_EQ(factory_.runs.size(), 2u);
    EXPECT_EQ(factory_.runs[1].interval, 2.0);
    EXPECT_TRUE(store_->cpuHistory().ordered().empty());
    EXPECT_EQ(store_->gpuHistory().capacity(), 30);
    EXPECT_TRUE(store_->historyRevisions().empty());
    EXPECT_TRUE(store_->peakStates().empty());
    EXPECT_EQ(store_->cpu().totalUsagePercent, 10);
    EXPECT_EQ(store_->lastBands().at(StatKind::cpu), Band::hot);
    EXPECT_EQ(topSampler().starts, 1) << "the new run measures the top processes too";
}

TEST_F(StatsStoreTest, LateSamplesApplyAfterStopAndVanishOnceTheStoreIsGone) {
    store_->start();
    auto run = factory_.runs[0];
    run.cpu(CPUSample{.totalUsagePercent = 5});
    store_->stop();
    mainThread_.runPending();
    EXPECT_EQ(store_->cpu().totalUsagePercent, 5) << "a sample posted before stop still lands";

    run.cpu(CPUSample{.totalUsagePercent = 6});
    subscription_.reset();
    store_.reset();
    EXPECT_EQ(mainThread_.runPending(), 1);  // runs and does nothing
}

}  // namespace
}  // namespace glintdeck
