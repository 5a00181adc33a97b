#include "samplers/network_sampler.h"

#include <gtest/gtest.h>

#include <deque>

#include "tests/support/manual_executor.h"

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

InterfaceAddress ipv4(std::string name, std::string host, bool ethernetClass = true,
                      uint32_t flags = kUpRunning) {
    return InterfaceAddress{.name = std::move(name),
                            .flags = flags,
                            .family = AddressFamily::ipv4,
                            .numericHost = std::move(host),
                            .ethernetClass = ethernetClass};
}

// One reading per tick: the address list (nothing: it cannot be read) and the preferred
// interface.
struct Reading {
    std::optional<List> list;
    std::optional<std::string> preferred;
};

class ScriptedNetwork final : public NetworkSource {
  public:
    ScriptedNetwork(std::deque<Reading> script, std::map<std::string, std::string> names)
        : script_(std::move(script)), names_(std::move(names)) {}
    bool interfaceAddresses(List& list) override {
        current_ = script_.front();
        script_.pop_front();
        list = current_.list.value_or(List{});
        return current_.list.has_value();
    }
    std::optional<std::string> preferredInterface() override { return current_.preferred; }
    std::map<std::string, std::string> loadFriendlyNames() override { return names_; }

  private:
    std::deque<Reading> script_;
    Reading current_;
    std::map<std::string, std::string> names_;
};

std::vector<NetworkSample> run(std::deque<Reading> script,
                               std::map<std::string, std::string> names = {}) {
    ManualExecutor executor;
    size_t ticks = script.size();
    std::vector<NetworkSample> samples;
    auto sampler = std::make_shared<NetworkSampler>(
        executor, 1.0, std::make_unique<ScriptedNetwork>(std::move(script), std::move(names)),
        [&](const NetworkSample& s) { samples.push_back(s); });
    sampler->start();
    executor.advance(static_cast<double>(ticks) - 0.5);
    sampler->stop();
    EXPECT_EQ(samples.size(), ticks) << "every tick delivers";
    return samples;
}

NetworkSample only(std::deque<Reading> script, std::map<std::string, std::string> names = {}) {
    std::vector<NetworkSample> samples = run(std::move(script), std::move(names));
    return samples.empty() ? NetworkSample{} : samples.back();
}

using Rates = std::vector<std::pair<double, double>>;

Rates rates(const std::vector<NetworkSample>& samples) {
    Rates result;
    for (const NetworkSample& s : samples) result.emplace_back(s.downBytesPerSec, s.upBytesPerSec);
    return result;
}

TEST(NetworkSamplerTest, RatesFollowTheCountedTotalsFromTheSecondTickOn) {
    EXPECT_EQ(rates(run({{List{link("eth0", 1000, 100)}},
                         {List{link("eth0", 4000, 150)}},
                         {List{link("eth0", 3000, 250)}}})),
              (Rates{{0, 0}, {3000, 50}, {0, 100}}))
        << "a total that went down reads 0 in that direction";
}

TEST(NetworkSamplerTest, OnlyUpRunningEthernetClassLinksCount) {
    auto tick = [](uint64_t n) {
        return Reading{List{
            link("lo", 100 * n, 100 * n, false, kLoopback), link("tun0", 1000 * n, 1000 * n, false),
            link("docker0", 7 * n, 7 * n, false),                   // a bridge
            link("enp0s31f6", 50 * n, 50 * n, true, kInterfaceUp),  // no carrier
            link("wlp2s0", 10 * n, 20 * n), link("enp5s0", 1 * n, 2 * n),
            ipv4("wlp2s0", "10.0.0.9"),  // addresses carry no counters
        }};
    };
    EXPECT_EQ(rates(run({tick(1), tick(2)})), (Rates{{0, 0}, {11, 22}}));
}

TEST(NetworkSamplerTest, AnUnreadableListKeepsTheLastGoodTotals) {
    std::vector<NetworkSample> samples = run({{List{link("eth0", 0, 0), ipv4("eth0", "10.1.1.1")}},
                                              {std::nullopt},
                                              {List{}},
                                              {List{link("eth0", 3000, 300)}}});
    EXPECT_EQ(rates(samples), (Rates{{0, 0}, {0, 0}, {0, 0}, {1000, 100}}))
        << "the last delta spans three intervals";
    EXPECT_EQ(samples[1].interfaceName, std::nullopt);
    EXPECT_EQ(samples[1].localIP, std::nullopt);
}

TEST(NetworkSamplerTest, AnInterfaceComingBackDoesNotCountItsPastTraffic) {
    // Wi-Fi drops its carrier and reconnects: its lifetime counters leave the sum and return.
    List both = {link("enp5s0", 1000, 1000), link("wlp2s0", 9'000'000'000, 900'000'000)};
    List wired = {link("enp5s0", 1100, 1100),
                  link("wlp2s0", 9'000'000'000, 900'000'000, true, kInterfaceUp)};
    List bothAgain = {link("enp5s0", 1200, 1200), link("wlp2s0", 9'000'000'500, 900'000'050)};
    List bothLater = {link("enp5s0", 1300, 1300), link("wlp2s0", 9'000'001'000, 900'000'100)};
    EXPECT_EQ(rates(run({{both}, {wired}, {bothAgain}, {bothLater}})),
              (Rates{{0, 0}, {0, 0}, {0, 0}, {600, 150}}));
}

TEST(NetworkSamplerTest, ChoosesThePreferredInterface) {
    struct Row {
        const char* what;
        List list;
        std::optional<std::string> preferred;
        std::optional<std::string> name;
        std::optional<std::string> address;
    };
    for (const Row& row : {
             Row{"the default route's interface, though a tunnel is listed first",
                 {ipv4("tun0", "10.8.0.2", false), ipv4("enp5s0", "192.168.0.17")},
                 "enp5s0",
                 "enp5s0",
                 "192.168.0.17"},
             Row{"with no default route, the first Ethernet-class interface",
                 {ipv4("tun0", "10.8.0.2", false), ipv4("enp5s0", "192.168.0.17"),
                  ipv4("wlp2s0", "192.168.1.5")},
                 std::nullopt,
                 "enp5s0",
                 "192.168.0.17"},
             Row{"a default route through a VPN names the VPN",
                 {ipv4("enp5s0", "192.168.0.17"), ipv4("wg0", "10.8.0.2", false)},
                 "wg0",
                 "wg0",
                 "10.8.0.2"},
             Row{"a bridge alone is chosen when nothing else is up",
                 {link("br0", 500, 500, false), ipv4("lo", "127.0.0.1", false, kLoopback),
                  ipv4("br0", "10.0.3.1", false)},
                 std::nullopt,
                 "br0",
                 "10.0.3.1"},
             Row{"loopback is never chosen, even as the only address",
                 {ipv4("lo", "127.0.0.1", false, kLoopback)},
                 "lo",
                 std::nullopt,
                 std::nullopt},
             Row{"a default-route interface that is down is passed over",
                 {ipv4("enp5s0", "192.168.0.17", true, kInterfaceUp), ipv4("wlp2s0", "10.0.0.9")},
                 "enp5s0",
                 "wlp2s0",
                 "10.0.0.9"},
             Row{"an address that does not convert to text is no candidate",
                 {InterfaceAddress{.name = "eth0",
                 .flags = kUpRunning,
                 .family = AddressFamily::ipv4,
                 .ethernetClass = true},
                  ipv4("eth1", "10.0.0.2")},
                 "eth0",
                 "eth1",
                 "10.0.0.2"},
         }) {
        NetworkSample sample = only({{row.list, row.preferred}});
        EXPECT_EQ(sample.interfaceName, row.name) << row.what;
        EXPECT_EQ(sample.localIP, row.address) << row.what;
    }
}

TEST(NetworkSamplerTest, NamesTheInterfaceByItsDisplayName) {
    std::map<std::string, std::string> names = {{"wlp2s0", "Wi-Fi"}};
    EXPECT_EQ(only({{List{ipv4("wlp2s0", "10.0.0.9")}}}, names).interfaceName, "Wi-Fi (wlp2s0)");
    EXPECT_EQ(only({{List{ipv4("wlp2s0", "10.0.0.9")}}}, names).interfaceDevice, "wlp2s0");
    EXPECT_EQ(only({{List{ipv4("enp5s0", "10.0.0.9")}}}, names).interfaceName, "enp5s0");
}

}  // namespace
}  // namespace glintdeck
