#include "samplers/top_process_sampler.h"

#include <gtest/gtest.h>

#include <atomic>

#include "samplers/thread_pool_executor.h"
#include "tests/samplers/fake_process_table.h"
#include "tests/support/latch.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

// The sampler on a manual executor, with each delivery's virtual time.
struct Harness {
    explicit Harness(double interval) {
        auto source = std::make_unique<FakeProcessTable>();
        table = source.get();
        sampler = std::make_shared<TopProcessSampler>(executor, interval, std::move(source),
                                                      [this](const TopProcessesSample& s) {
                                                          times.push_back(executor.now());
                                                          last = s;
                                                      });
    }
    ManualExecutor executor;
    FakeProcessTable* table = nullptr;
    std::vector<double> times;
    TopProcessesSample last;
    std::shared_ptr<TopProcessSampler> sampler;
};

TEST(TopProcessSamplerTest, FirstSampleCoversOneSecondThenOneEveryPeriodOfAtLeastTwo) {
    for (auto [interval, deliveries] : {std::pair{1.0, std::vector<double>{1, 2, 4, 6}},
                                        std::pair{5.0, std::vector<double>{1, 5, 10}}}) {
        Harness h(interval);
        h.sampler->start();
        h.executor.advance(deliveries.back() + 0.5);
        EXPECT_EQ(h.times, deliveries) << "interval " << interval;
        EXPECT_EQ(h.table->scans, static_cast<int>(deliveries.size()) + 1)
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
    ASSERT_EQ(h.times.size(), 2u);

    h.sampler->start();
    h.executor.advance(0.5);
    EXPECT_EQ(h.times.size(), 2u) << "a new showing starts from a new baseline";
    h.executor.advance(0.5);
    ASSERT_EQ(h.times.size(), 3u);
    EXPECT_EQ(h.last.byCPU, (std::vector<ProcStat>{{"editor", 10}}));
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
    EXPECT_EQ(h.times, std::vector<double>{1.6});
    EXPECT_EQ(h.table->scans, 3);
}

TEST(TopProcessSamplerTest, TickInFlightOnAWorkerDeliversNothingAfterStop) {
    ThreadPoolExecutor executor;
    Latch scanning(1), resume(1);
    std::atomic<int> delivered = 0;
    auto source = std::make_unique<FakeProcessTable>();
    FakeProcessTable& table = *source;
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
    TopProcessesSample sample = TopProcessAggregator().aggregate(
        {row(10, 30, 1000), row(11, 25, 500), row(12, 0, 4096, "idle-daemon"),
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
    std::vector<ProcStat> byCPU = {{"p20", 20}, {"tie", 20}}, byMemory;
    for (int i = 19; i >= 10; --i) byCPU.push_back({"p" + std::to_string(i), i * 1.0});
    for (int i = 1; i <= 12; ++i) byMemory.push_back({"p" + std::to_string(i), 21.0 - i});
    TopProcessesSample sample = TopProcessAggregator().aggregate(rows, table);
    EXPECT_EQ(sample.byCPU, byCPU);
    EXPECT_EQ(sample.byMemory, byMemory);
}

// A process seen before keeps its name; one that left the table, a reused pid and the same
// process after exec (a shell that became make: same pid and start, new command) are named anew.
TEST(TopProcessAggregatorTest, NamesEachProcessOnceAndAReusedPidAfresh) {
    struct Step {
        const char* path;  // pid 7's executable
        std::vector<ProcessRow> rows;
        int pathReads;
    };
    FakeProcessTable table;
    TopProcessAggregator aggregator;
    for (const Step& step : {
             Step{"/usr/bin/old-job", {row(7, 1, 1, "old-job", 100), row(8, 1, 1)}, 2},
             Step{"/usr/bin/old-job", {row(7, 1, 1, "old-job", 100), row(8, 1, 1)}, 2},
             Step{"/usr/bin/new-job", {row(7, 1, 1, "new-job", 900), row(8, 1, 1)}, 3},
             Step{"/usr/bin/new-job", {row(8, 1, 1)}, 3},
             Step{"/usr/bin/new-job", {row(7, 1, 1, "new-job", 900), row(8, 1, 1)}, 4},
             Step{"/usr/bin/make", {row(7, 1, 1, "make", 900), row(8, 1, 1)}, 5},
         }) {
        table.paths = {{7, step.path}};
        TopProcessesSample sample = aggregator.aggregate(step.rows, table);
        EXPECT_EQ(table.pathReads, step.pathReads) << step.path;
        // Named after its program, first of the two in name order.
        EXPECT_EQ(sample.byCPU.front().name, step.rows.front().command) << step.path;
    }
}

}  // namespace
}  // namespace glintdeck
