#pragma once

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

// The descriptor of one kind from the store's latest samples and histories, with band calm and
// the primary text tint; nothing when the kind's reading is unavailable. Building a disk or
// network descriptor updates the store's graph peaks.
[[nodiscard]] std::optional<StatDescriptor> descriptor(StatKind kind, StatsStore& store,
                                                       const AppSettings& settings,
                                                       const DescriptorEnvironment& environment);

// The descriptors of the enabled kinds in the user's order, each with its band (hysteresis
// against the store's last bands, which this updates) and its tint.
[[nodiscard]] std::vector<StatDescriptor> descriptors(StatsStore& store,
                                                      const AppSettings& settings,
                                                      const DescriptorEnvironment& environment);

// The icon colour for a band: the band's colour, or primary text under a suppressed style.
[[nodiscard]] Tint tint(Band band, Theme::StatusStyle style);

// The two halves of descriptor(), one per group of kinds.
[[nodiscard]] std::optional<StatDescriptor> historyKindDescriptor(
    StatKind kind, StatsStore& store, const AppSettings& settings,
    const DescriptorEnvironment& environment);
[[nodiscard]] std::optional<StatDescriptor> singleValueDescriptor(
    StatKind kind, const StatsStore& store, const DescriptorEnvironment& environment);

}  // namespace glintdeck
