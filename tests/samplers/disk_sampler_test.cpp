#include "samplers/disk_sampler.h"

#include <gtest/gtest.h>

#include <deque>

#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

using Drives = std::vector<std::optional<DriveStatistics>>;

// One reading per tick; a reading of nothing means the drives could not be listed.
struct Reading {
    std::optional<FileSystemStatistics> fileSystem =
        FileSystemStatistics{.blockSize = 4096, .blocks = 1000, .availableBlocks = 400};
    std::optional<Drives> drives;
};

class ScriptedFileSystem final : public FileSystemSource {
  public:
    explicit ScriptedFileSystem(std::shared_ptr<std::deque<Reading>> script)
        : script_(std::move(script)) {}
    std::optional<FileSystemStatistics> rootFileSystem() override {
        return script_->front().fileSystem;
    }

  private:
    std::shared_ptr<std::deque<Reading>> script_;
};

// Reads the drives second, so it moves the shared script on to the next tick.
class ScriptedDrives final : public BlockStorageSource {
  public:
    explicit ScriptedDrives(std::shared_ptr<std::deque<Reading>> script)
        : script_(std::move(script)) {}
    bool readDrives(Drives& drives) override {
        std::optional<Drives> next = script_->front().drives;
        script_->pop_front();
        drives = next.value_or(Drives{});
        return next.has_value();
    }

  private:
    std::shared_ptr<std::deque<Reading>> script_;
};

std::vector<DiskSample> run(std::deque<Reading> readings, double interval = 1.0) {
    ManualExecutor executor;
    auto script = std::make_shared<std::deque<Reading>>(std::move(readings));
    size_t ticks = script->size();
    std::vector<DiskSample> samples;
    auto sampler = std::make_shared<DiskSampler>(
        executor, interval, std::make_unique<ScriptedFileSystem>(script),
        std::make_unique<ScriptedDrives>(script),
        [&](const DiskSample& s) { samples.push_back(s); });
    sampler->start();
    executor.advance(interval * (static_cast<double>(ticks) - 0.5));
    sampler->stop();
    EXPECT_EQ(samples.size(), ticks) << "every tick delivers";
    return samples;
}

Reading moved(uint64_t read, uint64_t written) {
    return Reading{.drives = Drives{DriveStatistics{read, written}}};
}

using Rates = std::vector<std::pair<double, double>>;

Rates rates(const std::vector<DiskSample>& samples) {
    Rates result;
    for (const DiskSample& s : samples) result.emplace_back(s.readBytesPerSec, s.writeBytesPerSec);
    return result;
}

TEST(DiskSamplerTest, RatesFromTheTotals) {
    struct Row {
        const char* what;
        std::deque<Reading> readings;
        double interval;
        Rates expected;
    };
    for (const Row& row : {
             Row{"the first tick only records the totals",
                 {moved(1000, 500), moved(3000, 600), moved(3000, 1600)},
                 1.0,
                 {{0, 0}, {2000, 100}, {0, 1000}}},
             Row{"bytes per second of the interval",
                 {moved(0, 0), moved(10'000'000, 0)},
                 2.0,
                 {{0, 0}, {5'000'000, 0}}},
             Row{"a total that went down reads 0 once, then follows the new total",
                 {moved(5000, 5000), moved(100, 6000), moved(400, 6500)},
                 1.0,
                 {{0, 0}, {0, 1000}, {300, 500}}},
         }) {
        EXPECT_EQ(rates(run(row.readings, row.interval)), row.expected) << row.what;
    }
}

TEST(DiskSamplerTest, TotalsSumEveryDriveThatReportsStatistics) {
    Drives before = {DriveStatistics{100, 10}, std::nullopt, DriveStatistics{200, std::nullopt},
                     DriveStatistics{std::nullopt, std::nullopt}};
    Drives after = {DriveStatistics{150, 30}, std::nullopt, DriveStatistics{300, std::nullopt},
                    DriveStatistics{std::nullopt, std::nullopt}};
    EXPECT_EQ(rates(run({{.drives = before}, {.drives = after}})), (Rates{{0, 0}, {150, 20}}))
        << "the drive without Bytes (Write) still adds its reads";
}

TEST(DiskSamplerTest, FailedDriveReadsKeepTheLastGoodTotals) {
    // Listing fails on tick 2; on tick 3 no drive has counters at all, which is no reading
    // either. The delta at tick 4 spans three intervals.
    Reading noCounters{.drives = Drives{std::nullopt, DriveStatistics{}}};
    EXPECT_EQ(rates(run({moved(0, 0), Reading{}, noCounters, moved(3000, 600)})),
              (Rates{{0, 0}, {0, 0}, {0, 0}, {1000, 200}}));
}

TEST(DiskSamplerTest, SpaceOfTheRootVolume) {
    struct Row {
        const char* what;
        std::optional<FileSystemStatistics> fs;
        uint64_t used, free, total;
    };
    for (const Row& row : {
             Row{"free is what users may fill", FileSystemStatistics{4096, 1000, 400}, 600 * 4096,
                 400 * 4096, 1000 * 4096},
             Row{"more available than total is no used space", FileSystemStatistics{512, 10, 20}, 0,
                 20 * 512, 10 * 512},
             Row{"an unreadable file system gives zeros", std::nullopt, 0, 0, 0},
         }) {
        std::vector<DiskSample> samples = run({{.fileSystem = row.fs, .drives = Drives{}}});
        ASSERT_EQ(samples.size(), 1u);
        EXPECT_EQ(samples[0].usedBytes, row.used) << row.what;
        EXPECT_EQ(samples[0].freeBytes, row.free) << row.what;
        EXPECT_EQ(samples[0].totalBytes, row.total) << row.what;
    }
}

}  // namespace
}  // namespace glintdeck
