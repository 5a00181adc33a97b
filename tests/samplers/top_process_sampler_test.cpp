#include "samplers/top_process_sampler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include "tests/support/latch.h"

#include "samplers/thread_pool_executor.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

ProcessRow row(int32_t pid, double cpu, double memory, std::string command = "",
               uint64_t startTime = 1) {
    return ProcessRow{.id = {.pid = pid, .startTime = startTime},
                      .cpuPercent = cpu,
                      .memoryBytes = memory,
                      .command = std::move(command)};
}

// A process table that answers the same rows every scan (a baseline after each reset, as a real
// table does), knows executable paths by pid, and counts what it is asked.
class FakeProcessTable final : public ProcessTableSource {
  public:
    std::vector<ProcessRow> rows;
    std::map<int32_t, std::string> paths;
    bool baselined = false;
    bool measureAtOnce = false;
    std::function<void()> duringScan = [] {};
    std::atomic<int> scans = 0;
    int resets = 0;
    int pathReads = 0;

    ScanResult scan(std::vector<ProcessRow>& out) override {
        ++scans;
        duringScan();
        out = rows;
        bool measured = std::exchange(baselined, true) || measureAtOnce;
        return measured ? ScanResult::measured : ScanResult::baseline;
    }
    void reset() override {
        ++resets;
        baselined = false;
    }
    std::string executablePath(const ProcessRow& r) override {
        ++pathReads;
        auto found = paths.find(r.id.pid);
        return found == paths.end() ? "" : found->second;
    }
};

struct Harness {
    ManualExecutor executor;
    FakeProcessTable* table = nullptr;
    std::vector<std::pair<double, TopProcessesSample>> samples;  // virtual time, sample
    std::shared_ptr<TopProcessSampler> sampler;

    explicit Harness(double interval, std::vector<ProcessRow> rows = {row(1, 10, 100)}) {
        auto source = std::make_unique<FakeProcessTable>();
        table = source.get();
        table->rows = std::move(rows);
        sampler = std::make_shared<TopProcessSampler>(
            executor, interval, std::move(source),
            [this](const TopProcessesSample& s) { samples.emplace_back(executor.now(), s); });
    }
    std::vector<double> deliveryTimes() const {
        std::vector<double> times;
        for (const auto& [time, sample] : samples) times.push_back(time);
        return times;
    }
};

TEST(TopProcessSamplerTest, FirstSampleCoversOneSecondThenOneEveryPeriodOfAtLeastTwo) {
    struct Row {
        double interval;
        std::vector<double> deliveries;
    };
    for (const Row& row : {Row{1.0, {1, 2, 4, 6}}, Row{5.0, {1, 5, 10}}}) {
        Harness h(row.interval);
        h.sampler->start();
        h.executor.advance(row.deliveries.back() + 0.5);
        EXPECT_EQ(h.deliveryTimes(), row.deliveries) << "interval " << row.interval;
        EXPECT_EQ(h.table->scans, static_cast<int>(row.deliveries.size()) + 1)
            << "one extra scan: the baseline at start";
        h.sampler->stop();
    }
}

TEST(TopProcessSamplerTest, RestartMeasuresAfreshGivesBackTheTableAndKeepsNames) {
    Harness h(2.0);
    h.table->paths[1] = "/usr/bin/editor";
    h.sampler->start();
    h.executor.advance(2.5);
    h.sampler->stop();
    h.executor.runUntilIdle();
    EXPECT_EQ(h.table->resets, 2) << "reset at start and again at stop: nothing held while hidden";
    h.executor.advance(30);
    ASSERT_EQ(h.samples.size(), 2u);

    h.sampler->start();
    h.executor.advance(0.5);
    EXPECT_EQ(h.samples.size(), 2u) << "a new showing starts from a new baseline";
    h.executor.advance(0.5);
    ASSERT_EQ(h.samples.size(), 3u);
    EXPECT_EQ(h.samples.back().second.byCPU, (std::vector<ProcStat>{{"editor", 10}}));
    EXPECT_EQ(h.table->pathReads, 1) << "names carry over from one showing to the next";
    h.sampler->stop();
}

TEST(TopProcessSamplerTest, StopSuppressesLateDeliveries) {
    // stopped while the baseline's follow-up is pending, then shown again before it is due:
    // the stale follow-up neither scans nor delivers, and the new run delivers once
    Harness h(2.0);
    h.sampler->start();
    h.executor.advance(0.5);
    h.sampler->stop();
    h.executor.advance(0.1);
    h.sampler->start();
    h.executor.advance(1.2);
    EXPECT_EQ(h.deliveryTimes(), std::vector<double>{1.6});
    EXPECT_EQ(h.table->scans, 3);

    // stopped while a scan is running: that tick delivers nothing
    h.table->duringScan = [&] { h.sampler->stop(); };
    h.executor.advance(2.0);
    EXPECT_EQ(h.samples.size(), 1u);
}

TEST(TopProcessSamplerTest, TickInFlightOnAWorkerDeliversNothingAfterStop) {
    ThreadPoolExecutor executor;
    Latch scanning(1), resume(1);
    std::atomic<int> delivered = 0;
    auto source = std::make_unique<FakeProcessTable>();
    FakeProcessTable& table = *source;
    table.rows = {row(1, 50, 100)};
    table.measureAtOnce = true;  // no one-second wait on a real clock
    table.duringScan = [&] {
        if (table.scans == 1) {
            scanning.countDown();
            resume.wait();
        }
    };
    auto sampler = std::make_shared<TopProcessSampler>(
        executor, 60, std::move(source), [&](const TopProcessesSample&) { ++delivered; });
    sampler->start();
    scanning.wait();
    sampler->stop();
    resume.countDown();
    executor.shutdown();  // waits for the tick to return
    EXPECT_EQ(delivered, 0);
}

TEST(TopProcessAggregatorTest, SumsByNameAndListsOnlyWhatIsAboveZero) {
    FakeProcessTable table;
    table.paths = {{10, "/usr/lib/firefox/firefox"}, {11, "/usr/lib/firefox/firefox"}};
    TopProcessAggregator aggregator;
    TopProcessesSample sample =
        aggregator.aggregate({row(10, 30, 1000), row(11, 25, 500), row(12, 0, 4096, "idle-daemon"),
                              row(13, 5, 0, "kworker/1:0")},
                             table);
    EXPECT_EQ(sample.byCPU, (std::vector<ProcStat>{{"firefox", 55}, {"kworker/1:0", 5}}));
    EXPECT_EQ(sample.byMemory, (std::vector<ProcStat>{{"idle-daemon", 4096}, {"firefox", 1500}}));
}

TEST(TopProcessAggregatorTest, KeepsTheTwelveLargestLargestFirst) {
    FakeProcessTable table;
    std::vector<ProcessRow> rows;
    for (int i = 1; i <= 20; ++i) rows.push_back(row(i, i, 21 - i, "p" + std::to_string(i)));
    rows.push_back(row(21, 20, 0, "tie"));  // equal values fall in name order
    TopProcessesSample sample = TopProcessAggregator().aggregate(rows, table);
    ASSERT_EQ(sample.byCPU.size(), 12u);
    EXPECT_EQ(sample.byCPU[0], (ProcStat{"p20", 20}));
    EXPECT_EQ(sample.byCPU[1], (ProcStat{"tie", 20}));
    EXPECT_EQ(sample.byCPU[11], (ProcStat{"p10", 10}));
    ASSERT_EQ(sample.byMemory.size(), 12u);
    EXPECT_EQ(sample.byMemory.front(), (ProcStat{"p1", 20}));
    EXPECT_EQ(sample.byMemory.back(), (ProcStat{"p12", 9}));
}

TEST(TopProcessAggregatorTest, NamesEachProcessOnceAndAReusedPidAfresh) {
    FakeProcessTable table;
    table.paths = {{7, "/usr/bin/old-job"}};
    TopProcessAggregator aggregator;
    (void)aggregator.aggregate({row(7, 1, 1, "old-job", 100), row(8, 1, 1, "other")}, table);
    (void)aggregator.aggregate({row(7, 1, 1, "old-job", 100), row(8, 1, 1, "other")}, table);
    EXPECT_EQ(table.pathReads, 2) << "a process seen before keeps its name";

    table.paths = {{7, "/usr/bin/new-job"}};
    TopProcessesSample sample =
        aggregator.aggregate({row(7, 1, 1, "new-job", 900), row(8, 1, 1, "other")}, table);
    EXPECT_EQ(table.pathReads, 3);
    EXPECT_EQ(sample.byCPU, (std::vector<ProcStat>{{"new-job", 1}, {"other", 1}}))
        << "pid 7 now belongs to another process";

    (void)aggregator.aggregate({row(8, 1, 1, "other")}, table);
    (void)aggregator.aggregate({row(7, 1, 1, "new-job", 900), row(8, 1, 1, "other")}, table);
    EXPECT_EQ(table.pathReads, 4) << "a process that left the table is forgotten";

    // The same process after exec (a shell that became make): same pid and start, new command.
    table.paths = {{7, "/usr/bin/make"}};
    sample = aggregator.aggregate({row(7, 1, 1, "make", 900), row(8, 1, 1, "other")}, table);
    EXPECT_EQ(table.pathReads, 5);
    EXPECT_EQ(sample.byCPU, (std::vector<ProcStat>{{"make", 1}, {"other", 1}}));
}

}  // namespace
}  // namespace glintdeck
