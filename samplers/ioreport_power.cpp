#include "samplers/ioreport_power.h"

#include <algorithm>

namespace glintdeck {
namespace {

constexpr std::string_view kEnergyModel = "Energy Model";

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\n\r\f\v";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The domain a channel's energy adds to, tested in this order; nothing for other channels.
double* domainOf(std::string_view name, DomainPower& power) {
    if (name.ends_with("CPU Energy")) return &power.cpu;
    if (name == "GPU Energy") return &power.gpu;
    if (name.starts_with("ANE")) return &power.ane;
    if (name.starts_with("DRAM")) return &power.dram;
    return nullptr;
}

}  // namespace

double unitDivisor(std::string_view unit) {
    if (unit == "mJ") return 1e3;
    if (unit == "uJ" || unit == "\u00B5J" || unit == "\u03BCJ") return 1e6;
    if (unit == "nJ") return 1e9;
    return 1e3;
}

IOReportPower::IOReportPower(std::vector<EnergyChannel> channels,
                             std::shared_ptr<const Clock> clock)
    : channels_(std::move(channels)), clock_(std::move(clock)) {
    isAvailable_ = std::any_of(channels_.begin(), channels_.end(), [](const EnergyChannel& c) {
        return c.group == kEnergyModel &&
               (c.name.ends_with("CPU Energy") || c.name == "GPU Energy");
    });
}

std::optional<DomainPower> IOReportPower::sample() {
    if (channels_.empty()) return std::nullopt;
    double now = clock_->secondsSinceBoot();
    Readings readings;
    readings.reserve(channels_.size());
    for (EnergyChannel& channel : channels_) {
        readings.push_back(channel.counter ? channel.counter->read() : std::nullopt);
    }
    if (std::none_of(readings.begin(), readings.end(),
                     [](const auto& r) { return r.has_value(); })) {
        return std::nullopt;
    }

    std::optional<DomainPower> result;
    if (previousSample_ && previousTime_ && now - *previousTime_ > 0) {
        double elapsed = now - *previousTime_;
        DomainPower power;
        for (size_t i = 0; i < channels_.size(); ++i) {
            const EnergyChannel& channel = channels_[i];
            const auto& older = (*previousSample_)[i];
            const auto& newer = readings[i];
            // A channel missing from either sample has no interval to report.
            if (!older || !newer) continue;
            if (channel.group != kEnergyModel) continue;
            if (channel.format != EnergyChannel::kSimpleFormat) continue;
            double* domain = domainOf(channel.name, power);
            if (domain == nullptr) continue;
            double energy = static_cast<double>(channel.counter->delta(*older, *newer));
            *domain += energy / unitDivisor(trimmed(channel.unit)) / elapsed;
        }
        result = power;
    }
    previousSample_ = std::move(readings);
    previousTime_ = now;
    return result;
}

}  // namespace glintdeck
