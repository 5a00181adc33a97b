#include "platform/linux/linux_network_source.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/printable_text.h"
#include "platform/linux/directory_entries.h"
#include "platform/linux/text_scanner.h"

namespace glintdeck {
namespace {

constexpr int kArphrdEther = 1;  // ARPHRD_ETHER, which Wi-Fi devices report too

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::optional<AddressFamily> familyOf(const sockaddr* address) {
    if (!address) return std::nullopt;
    switch (address->sa_family) {
        case AF_PACKET:
            return AddressFamily::link;
        case AF_INET:
            return AddressFamily::ipv4;
        case AF_INET6:
            return AddressFamily::ipv6;
        default:
            return AddressFamily::other;
    }
}

}  // namespace

InterfaceKind interfaceKind(const std::string& root, std::string_view name) {
    std::string folder = root + "/sys/class/net/" + std::string(name);
    if (!exists(folder + "/device")) return InterfaceKind::other;
    if (exists(folder + "/wireless") || exists(folder + "/phy80211")) return InterfaceKind::wifi;
    KernelFile typeFile(folder + "/type", kLargestAttribute);
    std::optional<std::string_view> type = typeFile.read();
    if (type && TextScanner(*type).readUnsigned() == static_cast<uint64_t>(kArphrdEther)) {
        return InterfaceKind::ethernet;
    }
    return InterfaceKind::other;
}

LinuxNetworkSource::LinuxNetworkSource(std::string root,
                                       std::unique_ptr<InterfaceAddressList> addresses)
    : root_(std::move(root)),
      addresses_(std::move(addresses)),
      netDev_(root_ + "/proc/net/dev"),
      route_(root_ + "/proc/net/route") {}

int LinuxNetworkSource::rowOf(std::string_view name) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

void LinuxNetworkSource::classifyIfChanged() {
    bool same =
        std::equal(rows_.begin(), rows_.end(), classifiedNames_.begin(), classifiedNames_.end(),
                   [](const NetDevRow& row, const std::string& name) { return row.name == name; });
    if (same) return;
    classifiedNames_.clear();
    kinds_.clear();
    for (const NetDevRow& row : rows_) {
        classifiedNames_.push_back(row.name);
        kinds_.push_back(interfaceKind(root_, row.name));
    }
}

bool LinuxNetworkSource::interfaceAddresses(std::vector<InterfaceAddress>& list) {
    list.clear();
    const ifaddrs* first = addresses_->read();
    if (!first) return false;
    // Unreadable counters leave every entry without link data: nothing is counted this tick.
    if (std::optional<std::string_view> text = netDev_.read()) {
        parseNetDev(*text, rows_);
    } else {
        rows_.clear();
    }
    classifyIfChanged();

    for (const ifaddrs* entry = first; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name) continue;
        InterfaceAddress& address = list.emplace_back();
        // The kernel refuses only '/', ':' and blanks in a name: escapes and bidirectional
        // overrides get through. The raw name still finds the interface's counters.
        std::string_view name = entry->ifa_name;
        address.name = printableText(name);
        address.flags = entry->ifa_flags;
        address.family = familyOf(entry->ifa_addr);
        // An IPv4 alias label ("eth0:1") belongs to its interface.
        std::string_view interface = name.substr(0, name.find(':'));
        int row = rowOf(interface);
        if (row >= 0) address.ethernetClass = kinds_[row] != InterfaceKind::other;
        if (address.family == AddressFamily::link && row >= 0) {
            address.linkData = LinkCounters{rows_[row].receivedBytes, rows_[row].sentBytes};
        }
        if (address.family == AddressFamily::ipv4) {
            char host[NI_MAXHOST];
            if (getnameinfo(entry->ifa_addr, sizeof(sockaddr_in), host, sizeof host, nullptr, 0,
                            NI_NUMERICHOST) == 0) {
                address.numericHost = host;
            }
        }
    }
    return true;
}

std::optional<std::string> LinuxNetworkSource::preferredInterface() {
    std::optional<std::string_view> text = route_.read();
    if (!text) return std::nullopt;
    std::optional<std::string> name = parseDefaultRoute(*text);
    if (!name) return std::nullopt;
    return printableText(*name);  // compared with the entries' printable names
}

std::map<std::string, std::string> LinuxNetworkSource::loadFriendlyNames() {
    std::map<std::string, std::string> names;
    for (const auto& entry : DirectoryEntries(root_ + "/sys/class/net")) {
        std::string name = entry.path().filename().string();
        switch (interfaceKind(root_, name)) {
            case InterfaceKind::wifi:
                names[printableText(name)] = "Wi-Fi";
                break;
            case InterfaceKind::ethernet:
                names[printableText(name)] = "Ethernet";
                break;
            case InterfaceKind::other:
                break;
        }
    }
    return names;
}

}  // namespace glintdeck
