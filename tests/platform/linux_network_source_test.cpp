#include "platform/linux/linux_network_source.h"

#include <gtest/gtest.h>

#include "tests/support/fixture_address_list.h"
#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

LinuxNetworkSource sourceFor(const std::string& root) {
    return LinuxNetworkSource(root, std::make_unique<FixtureAddressList>(root));
}

// One line per entry, "name family [received/sent] [address] [ethernet]", so that whole
// lists compare readably.
std::vector<std::string> describe(const std::vector<InterfaceAddress>& list) {
    std::vector<std::string> lines;
    for (const InterfaceAddress& entry : list) {
        const char* families[] = {" link", " ipv4", " ipv6", " other"};
        std::string line =
            entry.name + families[static_cast<int>(entry.family.value_or(AddressFamily::other))];
        if (entry.linkData) {
            line += " " + std::to_string(entry.linkData->receivedBytes) + "/" +
                    std::to_string(entry.linkData->sentBytes);
        }
        if (entry.numericHost) line += " " + *entry.numericHost;
        if (entry.ethernetClass) line += " ethernet";
        lines.push_back(line);
    }
    return lines;
}

TEST(LinuxNetworkSourceTest, DescribesFixtureMachines) {
    using Lines = std::vector<std::string>;
    struct Row {
        const char* fixture;
        Lines entries;
        std::optional<std::string> preferred;
        std::map<std::string, std::string> names;
    };
    for (const Row& row : {
             // Wi-Fi past 4 GiB, an unplugged Ethernet port, docker's bridge and a veth
             Row{"laptop",
                 {"lo link 98765432/98765432", "enp0s31f6 link 0/0 ethernet",
                  "wlp0s20f3 link 9876543210/1234567890 ethernet", "docker0 link 12345678/87654321",
                  "veth3c5a1f2 link 87654321/12345678", "lo ipv4 127.0.0.1",
                  "wlp0s20f3 ipv4 192.168.1.23 ethernet", "docker0 ipv4 172.17.0.1", "lo ipv6",
                  "wlp0s20f3 ipv6 ethernet", "docker0 ipv6", "veth3c5a1f2 ipv6"},
                 "wlp0s20f3",
                 {{"enp0s31f6", "Ethernet"}, {"wlp0s20f3", "Wi-Fi"}}},
             // wired, with a WireGuard tunnel and an idle libvirt bridge
             Row{"desktop",
                 {"lo link 4567890/4567890", "enp5s0 link 123456789012/23456789012 ethernet",
                  "virbr0 link 0/0", "wg0 link 3456789012/456789012", "lo ipv4 127.0.0.1",
                  "enp5s0 ipv4 192.168.0.17 ethernet", "virbr0 ipv4 192.168.122.1",
                  "wg0 ipv4 10.8.0.2", "lo ipv6", "enp5s0 ipv6 ethernet"},
                 "enp5s0",
                 {{"enp5s0", "Ethernet"}}},
             // a virtio NIC; ifb devices are virtual
             Row{"this-vm",
                 {"lo link 3319/3319", "ifb0 link 0/0", "ifb1 link 0/0",
                  "eth0 link 85013070/103361 ethernet", "lo ipv4 127.0.0.1",
                  "eth0 ipv4 192.0.2.2 ethernet", "lo ipv6", "eth0 ipv6 ethernet",
                  "eth0 ipv6 ethernet"},
                 "eth0",
                 {{"eth0", "Ethernet"}}},
             // nothing to read: no list
             Row{"no-such-machine", {}, std::nullopt, {}},
         }) {
        LinuxNetworkSource source = sourceFor(fixtureRoot(row.fixture));
        std::vector<InterfaceAddress> list;
        EXPECT_EQ(source.interfaceAddresses(list), !row.entries.empty()) << row.fixture;
        EXPECT_EQ(describe(list), row.entries) << row.fixture;
        EXPECT_EQ(source.preferredInterface(), row.preferred) << row.fixture;
        EXPECT_EQ(source.loadFriendlyNames(), row.names) << row.fixture;
    }
}

TEST(LinuxNetworkSourceTest, NetDevLinesOfOldAndNewKernels) {
    // Kernels before 2.6.37 print a wide counter right after the colon.
    KernelFile oldKernel(fixtureRoot("netdev-no-space") + "/proc/net/dev");
    std::vector<NetDevRow> rows;
    parseNetDev(oldKernel.read().value_or(""), rows);
    EXPECT_EQ(rows, (std::vector<NetDevRow>{{"lo", 12345678, 12345678},
                                            {"eth0", 5368709120, 987654321}}));

    parseNetDev(
        "  eth1: 1 2 3 4 5 6 7\n"  // cut short before the sent bytes
        "   tun0: 18446744073709551615 0 0 0 0 0 0 0 7 0 0 0 0 0 0 0",
        rows);
    EXPECT_EQ(rows, (std::vector<NetDevRow>{{"tun0", 18446744073709551615u, 7}}));
}

TEST(LinuxNetworkSourceTest, DefaultRouteWithTheLowestMetric) {
    const std::string header =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    struct Row {
        const char* what;
        std::string routes;
        std::optional<std::string> expected;
    };
    for (const Row& row : {
             Row{"Wi-Fi and Ethernet both up: Ethernet's lower metric wins",
                 "wlp2s0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
                 "enp5s0\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n",
                 "enp5s0"},
             Row{"a route to a network is not the default route",
                 "enp5s0\t0000A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n", std::nullopt},
             Row{"a route that is not up is ignored",
                 "enp5s0\t00000000\t0100A8C0\t0002\t0\t0\t100\t00000000\t0\t0\t0\n"
                 "wlp2s0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n",
                 "wlp2s0"},
             Row{"a malformed line is skipped",
                 "enp5s0\t00000000\tzz\n"
                 "wlp2s0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0",
                 "wlp2s0"},
             Row{"no routes at all", "", std::nullopt},
         }) {
        EXPECT_EQ(parseDefaultRoute(header + row.routes), row.expected) << row.what;
    }
}

TEST(LinuxNetworkSourceTest, LiveCountersAreReadable) {
    LinuxNetworkSource source("/", std::make_unique<GetifaddrsList>());
    std::vector<InterfaceAddress> list;
    ASSERT_TRUE(source.interfaceAddresses(list));
    auto loopback = std::find_if(list.begin(), list.end(), [](const InterfaceAddress& entry) {
        return entry.name == "lo" && entry.family == AddressFamily::link;
    });
    ASSERT_NE(loopback, list.end());
    EXPECT_TRUE(loopback->linkData.has_value());
    EXPECT_FALSE(loopback->ethernetClass);
}

}  // namespace
}  // namespace glintdeck
