// Names the machine hands over (interface names, GPU model names, sensor labels, process names)
// may hold terminal escapes, bidirectional overrides, bytes that are not UTF-8, or thousands of
// characters. Each reader passes them through printableText where they enter, so nothing
// downstream ever holds such text; these tests plant them in fixture trees.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/printable_text.h"
#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/linux_network_source.h"
#include "platform/linux/pci_accelerator_source.h"
#include "platform/linux/proc_process_table.h"
#include "samplers/top_process_aggregator.h"
#include "tests/support/fake_nvml_control.h"
#include "tests/support/fixture_address_list.h"
#include "tests/support/fixture_tree.h"
#include "tests/support/gpu_schedule.h"
#include "tests/support/manual_clock.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

const std::string kFFFD = "\xEF\xBF\xBD";
const std::string kOverride = "\xE2\x80\xAE";  // U+202E, right-to-left override

bool isPrintable(const std::string& text) { return printableText(text) == text; }

// A machine with a wired interface whose name the kernel accepted (it refuses only '/', ':' and
// blanks): an escape, a byte that is not UTF-8 and an override.
TEST(HostileNamesTest, InterfaceNamesAreShownPrintableAndStillFindTheirCounters) {
    const std::string name = "ev\x1B[2J\xFFil" + kOverride;  // 12 bytes, under IFNAMSIZ
    const std::string shown = "ev" + kFFFD + "[2J" + kFFFD + "il";
    FixtureTree tree("this-vm");
    const fs::path root = tree.root();
    fs::remove_all(root / "sys/class/net");
    fs::create_directories(root / "sys/class/net" / name / "device");
    tree.write("sys/class/net/" + name + "/type", "1\n");
    tree.write("getifaddrs", name + " packet 0x11043\n" + name + " inet 0x11043 10.0.0.2\n");
    tree.write("proc/net/dev",
               "Inter-|   Receive |  Transmit\n face |bytes packets|bytes packets\n" + name +
                   ": 100 1 0 0 0 0 0 0 200 2 0 0 0 0 0 0\n");
    tree.write("proc/net/route", "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\n" +
                                     name + "\t00000000\t0100000A\t0003\t0\t0\t100\t00000000\n");

    LinuxNetworkSource source(tree.root(), std::make_unique<FixtureAddressList>(tree.root()));
    std::vector<InterfaceAddress> list;
    ASSERT_TRUE(source.interfaceAddresses(list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, shown);
    EXPECT_EQ(list[0].linkData, (LinkCounters{100, 200}));
    EXPECT_TRUE(list[0].ethernetClass);
    EXPECT_EQ(source.preferredInterface(), shown);
    EXPECT_EQ(source.loadFriendlyNames(),
              (std::map<std::string, std::string>{{shown, "Ethernet"}}));
}

std::string model(const PropertyTable& table) {
    const PropertyData* data = dataAt(table, "model");
    return data ? data->bytes : "";
}

// A PCI ID database edited by hand, and a driver that names its card with an escape.
TEST(HostileNamesTest, GpuModelNamesFromTheDatabaseAndTheDriverArePrintable) {
    FixtureTree tree("nvidia-optimus-laptop");
    const fs::path ids = tree.path() / "pci.ids";
    tree.write("pci.ids",
               "8086  Intel Corporation\n"
               "\t9a49  TigerLake-LP GT2 [Iris" +
                   kOverride +
                   " Xe\x1B]0;owned\x07 Graphics]\n"
                   "10de  NVIDIA Corporation\n"
                   "\t25a2  GA107M [GeForce\x9B RTX 3050 Mobile]\n");
    FakeNvml fake;
    fake.addDevice("0000:01:00.0", "NVIDIA\x1B[31m GeForce", 37);
    PciAcceleratorSource source(
        tree.root(), gpuSchedule(),
        PciAcceleratorOptions{.nvmlLibrary = FakeNvml::path(), .pciIds = ids.string()});
    source.prepare();
    std::vector<PropertyTable> cards = source.accelerators();
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(model(cards[0]), "Iris Xe" + kFFFD + "]0;owned" + kFFFD + " Graphics");
    EXPECT_EQ(model(cards[1]), "GeForce" + kFFFD + " RTX 3050 Mobile");

    tree.write("sys/bus/pci/devices/0000:01:00.0/power/runtime_status", "active\n");
    cards = source.accelerators();
    EXPECT_EQ(model(cards[1]), "NVIDIA" + kFFFD + "[31m GeForce");
}

// Labels come from firmware tables; a long one is cut, and still sorts by what it says.
TEST(HostileNamesTest, SensorLabelsArePrintableAndCut) {
    FixtureTree tree("thinkpad");
    tree.write("sys/class/hwmon/hwmon1/temp1_label",
               "CPU\x1B[8m" + kOverride + std::string(5000, 'x') + "\n");
    std::vector<LinuxTemperatureInput> inputs = discoverTemperatureInputs(tree.root());
    auto labelled = std::find_if(inputs.begin(), inputs.end(), [](const auto& input) {
        return input.product.starts_with("thinkpad CPU");
    });
    ASSERT_NE(labelled, inputs.end());
    EXPECT_EQ(labelled->product.size(), kMostNameBytes);
    EXPECT_TRUE(labelled->product.starts_with("thinkpad CPU" + kFFFD + "[8mxxx"));
    EXPECT_EQ(labelled->role(), "CPU");
    for (const LinuxTemperatureInput& input : inputs) EXPECT_TRUE(isPrintable(input.product));
}

// Whoever starts a process chooses its command name and the path of its executable.
TEST(HostileNamesTest, ProcessNamesArePrintableAndCut) {
    FixtureTree tree("garbage");
    const fs::path proc = tree.path() / "proc";
    auto stat = [](int pid, const std::string& comm) {
        return std::to_string(pid) + " (" + comm +
               ") S 1 1 1 0 -1 0 0 0 0 0 500 300 0 0 20 0 1 0 4000 1000000 250 0\n";
    };
    tree.write("proc/4001/stat", stat(4001, "\x1B]2;pwned\x07" + kOverride + "ls"));
    tree.write("proc/4002/stat", stat(4002, "(x) \n) y"));
    tree.write("proc/4003/stat", stat(4003, "long"));
    fs::create_symlink("/opt/" + std::string(600, '\xFF'), proc / "4003/exe");
    // A program run from a memory file chose the label after "memfd:" itself.
    tree.write("proc/4004/stat", stat(4004, "node"));
    fs::create_symlink("/memfd:trusted-name (deleted)", proc / "4004/exe");

    ProcProcessTable table(tree.root(), std::make_shared<ManualClock>());
    std::vector<ProcessRow> rows;
    (void)table.scan(rows);
    TopProcessesSample sample = TopProcessAggregator().aggregate(rows, table);
    std::map<std::string, double> names;
    for (const ProcStat& entry : sample.byMemory) {
        EXPECT_TRUE(isPrintable(entry.name)) << entry.name;
        EXPECT_LE(entry.name.size(), kMostNameBytes);
        EXPECT_EQ(entry.name.find("trusted-name"), std::string::npos);
        names[entry.name] = entry.value;
    }
    EXPECT_TRUE(names.contains("node"));
    EXPECT_TRUE(names.contains(kFFFD + "]2;pwned" + kFFFD + "ls"));
    EXPECT_TRUE(names.contains("(x) " + kFFFD + ") y"));
    std::string cut;
    for (size_t i = 0; i < 84; ++i) cut += kFFFD;
    EXPECT_TRUE(names.contains(cut + "\xE2\x80\xA6")) << "a 600-byte path component";
}

}  // namespace
}  // namespace glintdeck
