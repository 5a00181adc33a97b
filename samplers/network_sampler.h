#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"

namespace glintdeck {

// Interface flags as the address list reports them.
inline constexpr uint32_t kInterfaceUp = 0x1;
inline constexpr uint32_t kInterfaceLoopback = 0x8;
inline constexpr uint32_t kInterfaceRunning = 0x40;

enum class AddressFamily { link, ipv4, ipv6, other };

// Cumulative bytes an interface moved, as its link-level data reports them.
struct LinkCounters {
    uint64_t receivedBytes = 0;
    uint64_t sentBytes = 0;
    bool operator==(const LinkCounters&) const = default;
};

// One entry of the interface address list: an interface has one link-level entry and one more
// per address.
struct InterfaceAddress {
    std::string name;
    uint32_t flags = 0;
    std::optional<AddressFamily> family;     // none: the entry carries no address
    std::optional<LinkCounters> linkData;    // link-level entries whose counters are known
    std::optional<std::string> numericHost;  // IPv4 entries whose address converts to text
    // A physical Ethernet or Wi-Fi device, the traffic the tile means. Bridges, virtual links,
    // tunnels and loopback are not: their bytes already crossed, or never reach, a real device.
    bool ethernetClass = false;
    bool operator==(const InterfaceAddress&) const = default;
};

class NetworkSource {
  public:
    virtual ~NetworkSource() = default;
    // Fills list (cleared first) with the interface address list. False when it cannot be read.
    [[nodiscard]] virtual bool interfaceAddresses(std::vector<InterfaceAddress>& list) = 0;
    // The interface the machine itself prefers for its traffic, when it has one.
    [[nodiscard]] virtual std::optional<std::string> preferredInterface() = 0;
    // Display names ("Wi-Fi") by interface name; interfaces without one are left out.
    [[nodiscard]] virtual std::map<std::string, std::string> loadFriendlyNames() = 0;
};

// Download and upload throughput summed over the up, running Ethernet-class interfaces, and
// the preferred interface's name and IPv4 address. Every tick delivers: rates 0 on the first
// tick, when the list cannot be read, for a direction whose total went down, and when the set
// of counted interfaces changed (an interface that comes back up brings its whole lifetime's
// bytes with it, which are not this interval's traffic).
class NetworkSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const NetworkSample&)>;

    NetworkSampler(Executor& executor, double interval, std::unique_ptr<NetworkSource> source,
                   OnSample onSample);

  private:
    struct ByteTotals {
        uint64_t received = 0;
        uint64_t sent = 0;
    };

    void prepare() override;
    void tick() override;
    [[nodiscard]] ByteTotals interfaceTotals();
    // (name, address) of the preferred interface.
    [[nodiscard]] std::pair<std::optional<std::string>, std::optional<std::string>>
    primaryInterface();

    std::unique_ptr<NetworkSource> source_;
    OnSample onSample_;
    std::optional<ByteTotals> previousBytes_;
    int intervalsSincePrevious_ = 0;  // a failed read in between widens the next delta
    std::map<std::string, std::string> friendlyNames_;
    // Reused every tick so that a tick allocates only what its sample holds.
    std::vector<InterfaceAddress> addresses_;
    std::vector<std::string> counted_;
    std::vector<std::string> previousCounted_;
};

}  // namespace glintdeck
