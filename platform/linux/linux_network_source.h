#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/interface_address_list.h"
#include "platform/linux/kernel_file.h"
#include "platform/linux/proc_net_parsers.h"
#include "samplers/network_sampler.h"

namespace glintdeck {

enum class InterfaceKind { other, ethernet, wifi };

// What /sys/class/net under root says an interface is. Only a physical device (one with a
// device/ link) counts: Ethernet (type 1) or Wi-Fi (wireless/ or phy80211/). Bridges, veth,
// tun, WireGuard, ifb and loopback have no device and are other.
[[nodiscard]] InterfaceKind interfaceKind(const std::string& root, std::string_view name);

// The interface address list with Linux's answers filled in:
// - link-level entries (AF_PACKET) carry the 64-bit counters of /proc/net/dev, not the 32-bit
//   ones of getifaddrs, which wrap every 4 GiB;
// - IPv4 entries carry their address as numeric text (getnameinfo, NI_NUMERICHOST);
// - each entry says whether it belongs to a physical Ethernet or Wi-Fi device, looked up in
//   sysfs only when the interfaces in /proc/net/dev change.
// The preferred interface is the one carrying the IPv4 default route. Display names are
// "Wi-Fi" for wireless devices and "Ethernet" for other physical ones.
class LinuxNetworkSource final : public NetworkSource {
  public:
    LinuxNetworkSource(std::string root, std::unique_ptr<InterfaceAddressList> addresses);

    [[nodiscard]] bool interfaceAddresses(std::vector<InterfaceAddress>& list) override;
    [[nodiscard]] std::optional<std::string> preferredInterface() override;
    [[nodiscard]] std::map<std::string, std::string> loadFriendlyNames() override;

  private:
    void classifyIfChanged();
    // Index into rows_ of an interface, or -1.
    [[nodiscard]] int rowOf(std::string_view name) const;

    std::string root_;
    std::unique_ptr<InterfaceAddressList> addresses_;
    KernelFile netDev_;
    KernelFile route_;
    std::vector<NetDevRow> rows_;
    std::vector<std::string> classifiedNames_;  // the names of rows_ when last classified
    std::vector<InterfaceKind> kinds_;          // per entry of classifiedNames_
};

}  // namespace glintdeck
