#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"

namespace glintdeck {

// A cumulative energy counter, read once per sample in its channel's unit.
class EnergyCounter {
  public:
    virtual ~EnergyCounter() = default;
    // Nothing when the counter cannot be read now (a sleeping device, a vanished file).
    [[nodiscard]] virtual std::optional<uint64_t> read() = 0;
    // The energy between two readings. A counter without a known range that went down was
    // reset, and the interval counts nothing; counters that wrap at a known range say so.
    [[nodiscard]] virtual uint64_t delta(uint64_t older, uint64_t newer) const {
        return newer >= older ? newer - older : 0;
    }
};

// One energy channel of the machine (a processor package, a graphics card, ...). Only channels
// of the "Energy Model" group in the simple integer format count.
struct EnergyChannel {
    static constexpr int kSimpleFormat = 1;
    std::string group = "Energy Model";
    std::string name;  // "CPU Energy" (or a cluster's "... CPU Energy"), "GPU Energy", ...
    std::string unit;  // "mJ", "uJ", "nJ", ...
    int format = kSimpleFormat;
    std::unique_ptr<EnergyCounter> counter;
};

// Average power over one interval, in watts, per domain.
struct DomainPower {
    double cpu = 0;
    double gpu = 0;
    double ane = 0;
    double dram = 0;
    bool operator==(const DomainPower&) const = default;
};

// Joules per unit of an energy label: "mJ" 1000, "uJ"/"µJ"/"μJ" 1e6, "nJ" 1e9; anything else is
// taken as millijoules.
[[nodiscard]] double unitDivisor(std::string_view unit);

// Turns cumulative energy channels into average power per domain between two calls.
// Channels are given whole at construction (the platform's channel set); available means one
// of them counts processor or graphics energy. Time comes from the injected clock's
// time since boot, which never steps.
class IOReportPower final {
  public:
    IOReportPower(std::vector<EnergyChannel> channels, std::shared_ptr<const Clock> clock);

    [[nodiscard]] bool isAvailable() const { return isAvailable_; }

    // Power since the previous call. Nothing on the first call, when no time has passed, or
    // when there are no channels or none could be read.
    [[nodiscard]] std::optional<DomainPower> sample();

  private:
    using Readings = std::vector<std::optional<uint64_t>>;

    std::vector<EnergyChannel> channels_;
    std::shared_ptr<const Clock> clock_;
    bool isAvailable_ = false;
    std::optional<Readings> previousSample_;
    std::optional<double> previousTime_;
};

}  // namespace glintdeck
