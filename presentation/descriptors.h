#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/stats_store.h"
#include "presentation/stat_descriptor.h"
#include "settings/app_settings.h"

namespace glintdeck {

// What the texts need from the machine and the user's locale, fixed at start.
struct DescriptorEnvironment {
    std::string decimalSeparator = ".";  // the locale's, for byte and rate texts
    long processorCount = 1;             // online processors, for the load-average load
    std::string localeName;              // for the boot date; empty is ICU's default
    std::shared_ptr<const Clock> clock;  // "now", for the boot date

    // The separator and time locale of the C library's current locale (set it from the
    // environment first).
    [[nodiscard]] static DescriptorEnvironment fromCurrentLocale(
        long processorCount, std::shared_ptr<const Clock> clock);
};

// Which kinds' descriptors carry their detail rows and process section. The strip shows only the
// tiles (texts, load, band, graph); the rows are for an open card and the terminal report, and
// building them for every kind on every refresh would cost time, and load ICU for the boot date.
class DetailKinds final {
  public:
    [[nodiscard]] static constexpr DetailKinds none() { return DetailKinds(0); }
    [[nodiscard]] static constexpr DetailKinds all() { return DetailKinds(~uint32_t{0}); }
    [[nodiscard]] static constexpr DetailKinds only(StatKind kind) {
        return DetailKinds(uint32_t{1} << static_cast<unsigned>(kind));
    }
    [[nodiscard]] constexpr bool contains(StatKind kind) const {
        return (mask_ >> static_cast<unsigned>(kind) & 1) != 0;
    }

  private:
    constexpr explicit DetailKinds(uint32_t mask) : mask_(mask) {}
    uint32_t mask_;
};

// The descriptor of one kind from the store's latest samples and histories, with band calm and
// the primary text tint; nothing when the kind's reading is unavailable. Its detail rows and
// process section are left empty unless `details` contains the kind. Building a disk or network
// descriptor updates the store's graph peaks, with or without details.
[[nodiscard]] std::optional<StatDescriptor> descriptor(StatKind kind, StatsStore& store,
                                                       const AppSettings& settings,
                                                       const DescriptorEnvironment& environment,
                                                       DetailKinds details);

// The descriptors of the enabled kinds in the user's order, each with its band (hysteresis
// against the store's last bands, which this updates) and its tint; details as for descriptor().
[[nodiscard]] std::vector<StatDescriptor> descriptors(StatsStore& store,
                                                      const AppSettings& settings,
                                                      const DescriptorEnvironment& environment,
                                                      DetailKinds details);

// The icon colour for a band: the band's colour, or primary text under a suppressed style.
[[nodiscard]] Tint tint(Band band, Theme::StatusStyle style);

// The two halves of descriptor(), one per group of kinds; `detailed`: with the detail rows and
// process section.
[[nodiscard]] std::optional<StatDescriptor> historyKindDescriptor(
    StatKind kind, StatsStore& store, const AppSettings& settings,
    const DescriptorEnvironment& environment, bool detailed);
[[nodiscard]] std::optional<StatDescriptor> singleValueDescriptor(
    StatKind kind, const StatsStore& store, const DescriptorEnvironment& environment,
    bool detailed);

}  // namespace glintdeck
