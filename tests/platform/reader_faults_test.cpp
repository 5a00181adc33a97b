// Faults of the machine the readers run on: files that vanish between the listing that found
// them and the first read, files and folders that refuse an ordinary user, names that cannot be
// looked up. A reader then delivers what it delivers for a missing source (no value, no channel,
// an empty list); it never crashes, throws or reports a value it did not read.

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/linux/directory_entries.h"
#include "platform/linux/hwmon_smc_connection.h"
#include "platform/linux/linux_sampler_factory.h"
#include "platform/linux/sysfs_power_source.h"
#include "tests/support/child_process.h"
#include "tests/support/fixture_tree.h"
#include "tests/support/gpu_schedule.h"
#include "tests/support/manual_clock.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

// Regression: a battery whose folder went away after discovery (a pack taken out of its bay, a
// USB-C power bank unplugged) stayed in the list with no attribute at all; as the first
// battery it then described the whole source alone, at 0%.
TEST(ReaderFaultsTest, ABatteryThatVanishesAfterDiscoveryDropsOut) {
    FixtureTree machine("thinkpad-two-batteries");
    const fs::path supplies = fs::path(machine.root()) / "sys/class/power_supply";
    SysfsPowerSource source(machine.root(), std::make_shared<ManualClock>());
    source.prepare();
    fs::remove_all(supplies / "BAT0");
    PowerSourceReading reading = source.read();
    ASSERT_TRUE(reading.description.has_value());
    EXPECT_EQ(numberAt(*reading.description, "Current Capacity"), 20'000'000);
    EXPECT_EQ(numberAt(*reading.description, "Max Capacity"), 23'000'000);

    SysfsPowerSource emptied(machine.root(), std::make_shared<ManualClock>());
    emptied.prepare();
    fs::remove_all(supplies / "BAT1");
    reading = emptied.read();
    EXPECT_FALSE(reading.description.has_value()) << "no battery, not an empty one";
    EXPECT_FALSE(reading.registry.has_value());
}

// Regression: checking whether a fan's limit file exists threw (and ended the program) when
// the check itself failed, as it does for a link that loops or a folder that refuses us.
TEST(ReaderFaultsTest, AFanLimitThatCannotBeCheckedIsNoLimit) {
    FixtureTree machine("thinkpad");
    const fs::path chip = fs::path(machine.root()) / "sys/class/hwmon/hwmon1";
    fs::create_symlink("fan1_min", chip / "fan1_min");  // points at itself
    std::unique_ptr<SmcConnection> connection;
    ASSERT_NO_THROW(connection = openHwmonSmcConnection(machine.root(), gpuSchedule()));
    SMC smc(std::move(connection));
    EXPECT_EQ(smc.read("FNum"), 1.0);
    EXPECT_EQ(smc.read("F0Ac"), 2400.0);
    EXPECT_EQ(smc.read("F0Mn"), std::nullopt);
}

// Starts all twelve samplers over root, lets them tick, runs between(), lets them tick again,
// and returns how many samples arrived.
int tickEverySampler(const std::string& root, const std::function<void()>& between) {
    ManualExecutor executor;
    LinuxSamplerFactory factory(executor, std::make_shared<ManualClock>(), root);
    int delivered = 0;
    auto count = [&delivered](const auto&) { ++delivered; };
    std::vector<std::shared_ptr<Sampler>> samplers = {
        factory.makeCPUSampler(1, count),         factory.makeMemorySampler(1, count),
        factory.makeDiskSampler(1, count),        factory.makeNetworkSampler(1, count),
        factory.makeBatterySampler(1, count),     factory.makeGPUSampler(1, count),
        factory.makeFanSampler(1, count),         factory.makePowerSampler(1, count),
        factory.makeTemperatureSampler(1, count), factory.makeLoadAverageSampler(1, count),
        factory.makeUptimeSampler(1, count),      factory.makeTopProcessSampler(1, count),
    };
    for (auto& sampler : samplers) sampler->start();
    executor.advance(2.5);
    between();
    executor.advance(2);
    for (auto& sampler : samplers) sampler->stop();
    executor.runUntilIdle();
    return delivered;
}

void chmodTree(const fs::path& root, fs::perms files, fs::perms folders) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_symlink()) continue;
        fs::permissions(entry.path(), entry.is_directory() ? folders : files);
    }
}

TEST(ReaderFaultsTest, MachinesWhoseFilesVanishOrRefuseUsStillSample) {
    const fs::perms searchOnly =
        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    for (const char* name :
         {"thinkpad", "amd-desktop", "laptop", "nvidia-optimus-laptop", "this-vm"}) {
        // Everything found at start is gone before it is read again (or for the first time).
        FixtureTree vanishing(name);
        auto removeEveryFile = [&] {
            for (const auto& entry : fs::recursive_directory_iterator(vanishing.root())) {
                if (!entry.is_directory()) fs::remove(entry.path());
            }
        };
        EXPECT_GT(tickEverySampler(vanishing.root(), removeEveryFile), 0) << name;
        // Every file refuses us (listed, but unreadable), or every folder refuses to be listed
        // (though its files could be opened).
        for (const auto& [files, folders] :
             {std::pair{fs::perms::none,
                        searchOnly | fs::perms::owner_all | fs::perms::others_read},
              std::pair{fs::perms::all, searchOnly}}) {
            FixtureTree refusing(name);
            chmodTree(refusing.root(), files, folders);
            EXPECT_EQ(asOrdinaryUser(
                          [&] { return tickEverySampler(refusing.root(), [] {}) > 0 ? 0 : 1; }),
                      0)
                << name;
            chmodTree(refusing.root(), fs::perms::all, fs::perms::all);  // so it can be removed
        }
    }
}

// How many entries a listing of folder yields, running during() after the first one.
int countWhileListing(const fs::path& folder, const std::function<void()>& during) {
    int seen = 0;
    for (const auto& entry : DirectoryEntries(folder)) {
        (void)entry;
        if (seen++ == 0) during();
    }
    return seen;
}

// Lists /proc/<pid>/map_files of a child with many mappings, which refuses to be read further
// once the child turns non-dumpable: a read failing part way. Returns the entries seen, or -1
// when the folder could not be listed at all.
int listMapFilesOfAChildTurningPrivate(int mappings) {
    int toChild[2];
    int fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return -1;
    pid_t child = fork();
    char byte = 0;
    if (child == 0) {
        // Only the lister holds the other ends, so the child sees end of file if it dies.
        close(toChild[1]);
        close(fromChild[0]);
        prctl(PR_SET_DUMPABLE, 1);
        for (int i = 0; i < mappings; ++i) {  // alternating protection keeps them apart
            mmap(nullptr, 4096, i % 2 ? PROT_READ : PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        }
        bool ok = write(fromChild[1], &byte, 1) == 1 && read(toChild[0], &byte, 1) == 1;
        prctl(PR_SET_DUMPABLE, 0);
        ok = ok && write(fromChild[1], &byte, 1) == 1 && read(toChild[0], &byte, 1) == 1;
        _exit(ok ? 0 : 1);
    }
    close(toChild[0]);
    close(fromChild[1]);
    int seen = 0;
    bool turned = false;
    if (child > 0 && read(fromChild[0], &byte, 1) == 1) {
        seen = countWhileListing(fs::path("/proc") / std::to_string(child) / "map_files", [&] {
            turned = write(toChild[1], &byte, 1) == 1 && read(fromChild[0], &byte, 1) == 1;
        });
    }
    if (!turned) seen = -1;
    close(toChild[1]);
    close(fromChild[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return seen;
}

// Regression: listings used std::filesystem's throwing increment, so a directory whose reading
// failed part way threw out of discovery and ended the program.
TEST(ReaderFaultsTest, ListingsEndCleanlyWhenEntriesOrTheFolderGoAway) {
    FixtureTree tree("thinkpad");
    const fs::path root = tree.root();
    EXPECT_EQ(countWhileListing(root / "no-such-folder", [] {}), 0);
    EXPECT_EQ(countWhileListing(root / "sys/class/power_supply/BAT0/type", [] {}), 0)
        << "a file is no folder";

    const fs::path folder = root / "vanishing";
    auto populate = [&] {
        fs::create_directories(folder);
        for (int i = 0; i < 300; ++i) std::ofstream(folder / ("entry" + std::to_string(i)));
    };
    populate();
    int seen = 0;
    EXPECT_NO_THROW(seen = countWhileListing(folder, [&] {
                        for (int i = 0; i < 300; i += 2)
                            fs::remove(folder / ("entry" + std::to_string(i)));
                    }));
    EXPECT_GE(seen, 150);
    EXPECT_LE(seen, 300);
    fs::remove_all(folder);
    populate();
    EXPECT_NO_THROW(seen = countWhileListing(folder, [&] { fs::remove_all(folder); }));
    EXPECT_GE(seen, 1);

    // A read failing part way; as root the child stays readable, so this runs as an ordinary user.
    constexpr int kMappings = 2000;
    int status = asOrdinaryUser([] {
        try {
            int listed = listMapFilesOfAChildTurningPrivate(kMappings);
            if (listed < 0) return 3;
            return listed < kMappings ? 0 : 5;  // ended early: the failure was met
        } catch (...) {
            return 4;
        }
    });
    if (status == 3) GTEST_SKIP() << "/proc/<pid>/map_files cannot be listed here";
    if (status == 5) GTEST_SKIP() << "this kernel kept /proc/<pid>/map_files readable";
    EXPECT_EQ(status, 0) << "4: the listing threw; -1: it crashed";
}

}  // namespace
}  // namespace glintdeck
