#include "platform/linux/kernel_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/sysfs_attribute.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace glintdeck {
namespace {

TEST(KernelFileTest, RereadsWholeFilesFromTheStartThroughTheOpenDescriptor) {
    const ScratchFolder scratch;
    const std::string path = scratch.root() + "/attribute";
    KernelFile file(path);
    EXPECT_EQ(file.read(), std::nullopt) << "missing until it appears";
    std::ofstream(path) << "12345\n";
    EXPECT_EQ(file.read(), "12345\n");
    std::filesystem::resize_file(path, 0);
    std::ofstream(path, std::ios::in | std::ios::out) << "7\n";
    EXPECT_EQ(file.read(), "7\n");
    const std::string big(100'000, 'x');  // larger than one page
    std::ofstream(path) << big;
    EXPECT_EQ(file.read(), big);
}

// A procfs file of many pages comes a kernel buffer at a time, each read short of what was
// asked; none of them may pass for the end.
TEST(KernelFileTest, ReadsAProcfsFileOfManyPagesWhole) {
    const std::string path = "/proc/crypto";  // stable while no module loads
    const std::string whole = fileText(path);
    if (whole.size() < 8192) GTEST_SKIP() << path << " is too small here";
    KernelFile file(path);
    EXPECT_EQ(file.read(), whole);
    EXPECT_EQ(file.read(), whole);
}

// Regression: discovery read sysfs attributes whole, so a 100 MB file planted in a sysfs tree
// took the stats program to half a gigabyte. Every read of an attribute stops at a page.
TEST(KernelFileTest, AttributesAreReadAPageAtMost) {
    const ScratchFolder scratch;
    const std::string path = scratch.root() + "/type";
    scratch.write("type", "Battery");
    std::filesystem::resize_file(path, 100 << 20);  // sparse: the rest reads as zero bytes
    EXPECT_EQ(readAttribute(path).value_or("").size(), kLargestAttribute);
    KernelFile file(path, kLargestAttribute);
    EXPECT_EQ(file.read().value_or("").size(), kLargestAttribute);
}

}  // namespace
}  // namespace glintdeck
