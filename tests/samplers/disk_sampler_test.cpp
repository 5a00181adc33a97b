#include "samplers/disk_sampler.h"

#include <gtest/gtest.h>

#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

using Drives = std::vector<std::optional<DriveStatistics>>;

struct FixedFileSystem final : FileSystemSource {
    explicit FixedFileSystem(std::optional<FileSystemStatistics> fs) : fs(fs) {}
    std::optional<FileSystemStatistics> rootFileSystem() override { return fs; }
    std::optional<FileSystemStatistics> fs;
};

// One list of drives per tick; nothing means they could not be listed.
struct ScriptedDrives final : BlockStorageSource {
    explicit ScriptedDrives(Script<Drives> script) : script(std::move(script)) {}
    bool readDrives(Drives& drives) override {
        std::optional<Drives> next = script.next();
        drives = next.value_or(Drives{});
        return next.has_value();
    }
    Script<Drives> script;
};

std::vector<DiskSample> run(std::deque<std::optional<Drives>> drives,
                            std::optional<FileSystemStatistics> fs = std::nullopt) {
    auto ticks = static_cast<int>(drives.size());
    std::vector<DiskSample> samples =
        samplesOf<DiskSampler>(ticks, std::make_unique<FixedFileSystem>(fs),
                               std::make_unique<ScriptedDrives>(Script<Drives>{std::move(drives)}));
    EXPECT_EQ(samples.size(), static_cast<size_t>(ticks)) << "every tick delivers";
    return samples;
}

Drives moved(uint64_t read, uint64_t written) { return Drives{DriveStatistics{read, written}}; }

TEST(DiskSamplerTest, RatesFromTheTotalsOfEveryDriveThatReportsThem) {
    struct Row {
        const char* what;
        std::deque<std::optional<Drives>> drives;
        Rates expected;
    };
    // A drive without a write counter still adds its reads.
    const Drives before = {DriveStatistics{100, 10}, std::nullopt,
                           DriveStatistics{200, std::nullopt}, DriveStatistics{}};
    const Drives after = {DriveStatistics{150, 30}, std::nullopt,
                          DriveStatistics{300, std::nullopt}, DriveStatistics{}};
    for (const Row& row : {
             Row{"the first tick only records the totals",
                 {moved(1000, 500), moved(3000, 600), moved(3000, 1600)},
                 {{0, 0}, {2000, 100}, {0, 1000}}},
             Row{"a total that went down reads 0 once, then follows the new total",
                 {moved(5000, 5000), moved(100, 6000), moved(400, 6500)},
                 {{0, 0}, {0, 1000}, {300, 500}}},
             Row{"every drive with counters counts", {before, after}, {{0, 0}, {150, 20}}},
             // Listing fails on tick 2; on tick 3 no drive has counters at all, which is no
             // reading either: the delta at tick 4 spans three intervals.
             Row{"failed reads keep the last good totals",
                 {moved(0, 0), std::nullopt, Drives{std::nullopt, DriveStatistics{}},
                  moved(3000, 600)},
                 {{0, 0}, {0, 0}, {0, 0}, {1000, 200}}},
         }) {
        EXPECT_EQ(
            ratesOf(run(row.drives), &DiskSample::readBytesPerSec, &DiskSample::writeBytesPerSec),
            row.expected)
            << row.what;
    }
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
        std::vector<DiskSample> samples = run({Drives{}}, row.fs);
        ASSERT_EQ(samples.size(), 1u);
        EXPECT_EQ((std::array{samples[0].usedBytes, samples[0].freeBytes, samples[0].totalBytes}),
                  (std::array{row.used, row.free, row.total}))
            << row.what;
    }
}

}  // namespace
}  // namespace glintdeck
