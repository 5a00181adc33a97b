#include "platform/linux/diskstats_reader.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include "platform/linux/statvfs_reader.h"
#include "tests/support/fixture_tree.h"
#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

using Drives = std::vector<std::optional<DriveStatistics>>;

DriveStatistics sectors(uint64_t read, uint64_t written) {
    return DriveStatistics{read * 512, written * 512};
}

// The drives read, or nothing when the reader found no statistics.
std::optional<Drives> readDrives(DiskstatsReader& reader) {
    Drives drives;
    if (!reader.readDrives(drives)) return std::nullopt;
    return drives;
}

TEST(DiskstatsReaderTest, CountsEachPhysicalDriveOnce) {
    for (const auto& [fixture, expected] :
         std::vector<std::pair<const char*, std::optional<Drives>>>{
             // loop and an idle zram device beside the one virtio disk
             {"this-vm", Drives{sectors(4153482, 5906528)}},
             // NVMe behind multipath, whose head (under /devices/virtual) and hidden path both
             // count on this kernel, dm-crypt on top, zram swap and snap loops: one drive
             {"laptop", Drives{sectors(28765432, 34567890)}},
             // three SATA disks; the md RAID across two of them and the DVD drive do not count
             {"desktop", Drives{sectors(98765432, 187654320), sectors(45678912, 23456784),
                                sectors(45612344, 23456784)}},
             // a kernel before 6.0 counts a multipath namespace only on its two paths
             {"multipath-head-without-stats",
              Drives{sectors(16000000 + 12000000, 8000000 + 4000000)}},
             {"no-such-machine", std::nullopt},
         }) {
        DiskstatsReader reader(fixtureRoot(fixture));
        EXPECT_EQ(readDrives(reader), expected) << fixture;
    }
    DiskstatsReader live("/");
    EXPECT_TRUE(readDrives(live).has_value());
}

TEST(DiskstatsReaderTest, ADiskPluggedInLaterCounts) {
    FixtureTree root("desktop");
    DiskstatsReader reader(root.root());
    EXPECT_EQ(readDrives(reader)->size(), 3u);
    EXPECT_EQ(readDrives(reader)->size(), 3u);
    root.overlay("desktop-usb-plugged");
    Drives drives = readDrives(reader).value_or(Drives{});
    ASSERT_EQ(drives.size(), 4u);
    EXPECT_EQ(drives[3], sectors(187654, 0)) << "the USB disk, not its partition";
}

TEST(DiskstatsReaderTest, ChoosesWholeDrivesByName) {
    using Disks = std::vector<CountedDisk>;
    for (const auto& [sysBlock, expected] : std::vector<std::pair<std::vector<std::string>, Disks>>{
             {{"dm-0", "fd0", "loop0", "md0", "mmcblk0", "nbd0", "ram0", "sda", "sr0", "vda",
               "xvda", "zram0"},
              {{"mmcblk0"}, {"sda"}, {"vda"}, {"xvda"}}},
             // a head and its paths are the multipath machine's above
             // a path whose head is not listed is a drive of its own; names that only look
             // like paths are not paths
             {{"nvme2c2n1", "nvme10c3n12", "nvme10n12", "nvme3cXn1", "nvme4c1n"},
              {{"nvme2c2n1"}, {"nvme10n12", {"nvme10c3n12"}}, {"nvme3cXn1"}, {"nvme4c1n"}}},
         }) {
        EXPECT_EQ(countedDisks(sysBlock), expected);
    }
}

TEST(DiskstatsReaderTest, ShortAndMalformedLines) {
    std::vector<DiskstatsRow> rows;
    parseDiskstats(
        "   8       0 sda 10 0 20 0\n"                // cut off before the writes
        "   8      16 sdb 1 2 3 4 5 6 7 8 9 10 11\n"  // the 2.6 layout
        "   8      32\n"                              // no name
        "garbage\n"
        "   8      48 sdd",  // a name and nothing else, no newline
        rows);
    EXPECT_EQ(rows, (std::vector<DiskstatsRow>{
                        {.name = "sda", .sectorsRead = 20},
                        {.name = "sdb", .sectorsRead = 3, .sectorsWritten = 7},
                        {.name = "sdd"},
                    }));
}

TEST(StatvfsReaderTest, UsesFragmentSizeAndUserAvailableBlocks) {
    for (const std::string& path : {std::string("/"), fixtureRoot("desktop")}) {
        struct statvfs fs {};
        ASSERT_EQ(statvfs(path.c_str(), &fs), 0);
        std::optional<FileSystemStatistics> stats = StatvfsReader(path).rootFileSystem();
        ASSERT_TRUE(stats.has_value()) << path;
        EXPECT_EQ(stats->blockSize, fs.f_frsize) << path;
        EXPECT_EQ(stats->blocks, fs.f_blocks) << path;
        // Free space moves as other programs write; f_bfree would usually be further off.
        EXPECT_NEAR(static_cast<double>(stats->availableBlocks), static_cast<double>(fs.f_bavail),
                    0.001 * static_cast<double>(fs.f_blocks))
            << path;
    }
    EXPECT_EQ(StatvfsReader(fixtureRoot("no-such-machine")).rootFileSystem(), std::nullopt);
}

}  // namespace
}  // namespace glintdeck
