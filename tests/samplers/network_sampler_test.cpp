#include "samplers/network_sampler.h"

#include <gtest/gtest.h>

#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

constexpr uint32_t kUpRunning = kInterfaceUp | kInterfaceRunning;
constexpr uint32_t kLoopback = kInterfaceUp | kInterfaceRunning | kInterfaceLoopback;

using List = std::vector<InterfaceAddress>;

InterfaceAddress link(std::string name, uint64_t received, uint64_t sent, bool ethernetClass = true,
                      uint32_t flags = kUpRunning) {
    return InterfaceAddress{.name = std::move(name),
                            .flags = flags,
                            .family = AddressFamily::link,
                            .linkData = LinkCounters{received, sent},
                            .ethernetClass = ethernetClass};
}

InterfaceAddress ipv4(std::string name, std::optional<std::string> host, bool ethernetClass = true,
                      uint32_t flags = kUpRunning) {
    return InterfaceAddress{.name = std::move(name),
                            .flags = flags,
                            .family = AddressFamily::ipv4,
                            .numericHost = std::move(host),
                            .ethernetClass = ethernetClass};
}

// One address list per tick (nothing: it cannot be read), one preferred interface throughout,
// and Wi-Fi's display name.
struct ScriptedNetwork final : NetworkSource {
    ScriptedNetwork(std::deque<std::optional<List>> lists, std::optional<std::string> preferred)
        : lists{std::move(lists)}, preferred(std::move(preferred)) {}
    bool interfaceAddresses(List& list) override {
        std::optional<List> next = lists.next();
        list = next.value_or(List{});
        return next.has_value();
    }
    std::optional<std::string> preferredInterface() override { return preferred; }
    std::map<std::string, std::string> loadFriendlyNames() override {
        return {{"wlp2s0", "Wi-Fi"}};
    }
    Script<List> lists;
    std::optional<std::string> preferred;
};

std::vector<NetworkSample> run(std::deque<std::optional<List>> lists,
                               std::optional<std::string> preferred = std::nullopt) {
    auto ticks = static_cast<int>(lists.size());
    std::vector<NetworkSample> samples = samplesOf<NetworkSampler>(
        ticks, std::make_unique<ScriptedNetwork>(std::move(lists), std::move(preferred)));
    EXPECT_EQ(samples.size(), static_cast<size_t>(ticks)) << "every tick delivers";
    return samples;
}

TEST(NetworkSamplerTest, RatesFollowTheCountedTotalsFromTheSecondTickOn) {
    // Only links that are up and running, of the Ethernet class, count.
    auto mixed = [](uint64_t n) {
        return List{link("lo", 100 * n, 100 * n, false, kLoopback),
                    link("tun0", 1000 * n, 1000 * n, false),
                    link("docker0", 7 * n, 7 * n, false),                   // a bridge
                    link("enp0s31f6", 50 * n, 50 * n, true, kInterfaceUp),  // no carrier
                    link("wlp2s0", 10 * n, 20 * n),
                    link("enp5s0", 1 * n, 2 * n),
                    ipv4("wlp2s0", "10.0.0.9")};  // addresses carry no counters
    };
    // Wi-Fi drops its carrier and reconnects: its lifetime counters leave the sum and return.
    auto wifi = [](uint64_t wired, uint64_t extra, uint32_t flags) {
        return List{link("enp5s0", wired, wired),
                    link("wlp2s0", 9'000'000'000 + extra, 900'000'000 + extra / 10, true, flags)};
    };
    struct Row {
        const char* what;
        std::deque<std::optional<List>> lists;
        Rates expected;
    };
    for (const Row& row : {
             Row{"a total that went down reads 0 in that direction",
                 {List{link("eth0", 1000, 100)}, List{link("eth0", 4000, 150)},
                  List{link("eth0", 3000, 250)}},
                 {{0, 0}, {3000, 50}, {0, 100}}},
             Row{"only up, running Ethernet-class links", {mixed(1), mixed(2)}, {{0, 0}, {11, 22}}},
             Row{"an unreadable or empty list keeps the last good totals",
                 {List{link("eth0", 0, 0)}, std::nullopt, List{}, List{link("eth0", 3000, 300)}},
                 {{0, 0}, {0, 0}, {0, 0}, {1000, 100}}},
             Row{"an interface coming back does not count its past traffic",
                 {wifi(1000, 0, kUpRunning), wifi(1100, 0, kInterfaceUp),
                  wifi(1200, 500, kUpRunning), wifi(1300, 1000, kUpRunning)},
                 {{0, 0}, {0, 0}, {0, 0}, {600, 150}}},
         }) {
        EXPECT_EQ(
            ratesOf(run(row.lists), &NetworkSample::downBytesPerSec, &NetworkSample::upBytesPerSec),
            row.expected)
            << row.what;
    }
}

TEST(NetworkSamplerTest, NamesThePreferredInterfaceAndItsAddress) {
    struct Row {
        const char* what;
        std::optional<List> list;
        std::optional<std::string> preferred;
        std::optional<std::string> name;
        std::optional<std::string> address;
    };
    const InterfaceAddress tunnel = ipv4("tun0", "10.8.0.2", false);
    const InterfaceAddress wired = ipv4("enp5s0", "192.168.0.17");
    const InterfaceAddress wifi = ipv4("wlp2s0", "10.0.0.9");
    const InterfaceAddress loopback = ipv4("lo", "127.0.0.1", false, kLoopback);
    for (const Row& row : {
             Row{"the default route's interface, though a tunnel is listed first",
                 List{tunnel, wired}, "enp5s0", "enp5s0", "192.168.0.17"},
             Row{"with no default route, the first Ethernet-class interface",
                 List{tunnel, wired, wifi}, std::nullopt, "enp5s0", "192.168.0.17"},
             Row{"a default route through a VPN names the VPN", List{wired, tunnel}, "tun0", "tun0",
                 "10.8.0.2"},
             Row{"a bridge alone is chosen when nothing else is up",
                 List{link("br0", 500, 500, false), loopback, ipv4("br0", "10.0.3.1", false)},
                 std::nullopt, "br0", "10.0.3.1"},
             Row{"loopback is never chosen, even as the only address", List{loopback}, "lo",
                 std::nullopt, std::nullopt},
             Row{"a default-route interface that is down is passed over, and Wi-Fi has a name",
                 List{ipv4("enp5s0", "192.168.0.17", true, kInterfaceUp), wifi}, "enp5s0",
                 "Wi-Fi (wlp2s0)", "10.0.0.9"},
             Row{"an address that does not convert to text is no candidate",
                 List{ipv4("eth0", std::nullopt), ipv4("eth1", "10.0.0.2")}, "eth0", "eth1",
                 "10.0.0.2"},
             Row{"an unreadable list names nothing", std::nullopt, "eth0", std::nullopt,
                 std::nullopt},
         }) {
        std::vector<NetworkSample> samples = run({row.list}, row.preferred);
        ASSERT_EQ(samples.size(), 1u);
        EXPECT_EQ(samples[0].interfaceName, row.name) << row.what;
        EXPECT_EQ(samples[0].localIP, row.address) << row.what;
    }
    EXPECT_EQ(run({List{wifi}})[0].interfaceDevice, "wlp2s0") << "the name under the display name";
}

}  // namespace
}  // namespace glintdeck
