#include "samplers/network_sampler.h"

#include "samplers/counter_delta.h"

namespace glintdeck {
namespace {

// Up and running, and not loopback.
bool isActive(const InterfaceAddress& entry) {
    return (entry.flags & (kInterfaceUp | kInterfaceLoopback | kInterfaceRunning)) ==
           (kInterfaceUp | kInterfaceRunning);
}

}  // namespace

NetworkSampler::NetworkSampler(Executor& executor, double interval,
                               std::unique_ptr<NetworkSource> source, OnSample onSample)
    : PeriodicSampler(executor, "NetworkSampler", interval, interval),
      source_(std::move(source)),
      onSample_(std::move(onSample)) {}

void NetworkSampler::prepare() { friendlyNames_ = source_->loadFriendlyNames(); }

NetworkSampler::ByteTotals NetworkSampler::interfaceTotals() {
    ByteTotals totals;
    counted_.clear();
    for (const InterfaceAddress& entry : addresses_) {
        if (entry.family != AddressFamily::link || !entry.linkData || !isActive(entry) ||
            !entry.ethernetClass) {
            continue;
        }
        totals.received += entry.linkData->receivedBytes;
        totals.sent += entry.linkData->sentBytes;
        counted_.push_back(entry.name);
    }
    return totals;
}

std::pair<std::optional<std::string>, std::optional<std::string>>
NetworkSampler::primaryInterface() {
    const InterfaceAddress* preferred = nullptr;
    const InterfaceAddress* firstEthernet = nullptr;
    const InterfaceAddress* first = nullptr;
    std::optional<std::string> preferredName = source_->preferredInterface();
    for (const InterfaceAddress& entry : addresses_) {
        if (entry.family != AddressFamily::ipv4 || !isActive(entry) || !entry.numericHost) {
            continue;
        }
        if (!first) first = &entry;
        if (!firstEthernet && entry.ethernetClass) firstEthernet = &entry;
        if (preferredName && entry.name == *preferredName) {
            preferred = &entry;
            break;
        }
    }
    const InterfaceAddress* chosen = preferred ? preferred : firstEthernet ? firstEthernet : first;
    if (!chosen) return {};
    return {chosen->name, chosen->numericHost};
}

void NetworkSampler::tick() {
    NetworkSample sample;
    ++intervalsSincePrevious_;
    if (source_->interfaceAddresses(addresses_) && !addresses_.empty()) {
        ByteTotals totals = interfaceTotals();
        if (previousBytes_ && counted_ == previousCounted_) {
            double seconds = interval() * intervalsSincePrevious_;
            sample.downBytesPerSec =
                static_cast<double>(saturatingDelta(totals.received, previousBytes_->received)) /
                seconds;
            sample.upBytesPerSec =
                static_cast<double>(saturatingDelta(totals.sent, previousBytes_->sent)) / seconds;
        }
        previousBytes_ = totals;
        previousCounted_.swap(counted_);
        intervalsSincePrevious_ = 0;

        auto [name, address] = primaryInterface();
        if (name) {
            auto friendly = friendlyNames_.find(*name);
            sample.interfaceName =
                friendly == friendlyNames_.end() ? *name : friendly->second + " (" + *name + ")";
            sample.interfaceDevice = std::move(name);
        }
        sample.localIP = std::move(address);
    }
    onSample_(sample);
}

}  // namespace glintdeck
