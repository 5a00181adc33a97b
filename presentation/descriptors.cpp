#include "presentation/descriptors.h"

#include <clocale>

#include "presentation/band.h"

namespace glintdeck {

DescriptorEnvironment DescriptorEnvironment::fromCurrentLocale(long processorCount,
                                                               std::shared_ptr<const Clock> clock) {
    const char* point = std::localeconv()->decimal_point;
    const char* timeLocale = std::setlocale(LC_TIME, nullptr);
    return {.decimalSeparator = point && *point ? point : ".",
            .processorCount = processorCount,
            .localeName = timeLocale ? timeLocale : "",
            .clock = std::move(clock)};
}

std::optional<StatDescriptor> descriptor(StatKind kind, StatsStore& store,
                                         const AppSettings& settings,
                                         const DescriptorEnvironment& environment,
                                         DetailKinds details) {
    const bool detailed = details.contains(kind);
    if (hasHistory(kind)) {
        return historyKindDescriptor(kind, store, settings, environment, detailed);
    }
    return singleValueDescriptor(kind, store, environment, detailed);
}

std::vector<StatDescriptor> descriptors(StatsStore& store, const AppSettings& settings,
                                        const DescriptorEnvironment& environment,
                                        DetailKinds details) {
    std::vector<StatDescriptor> list;
    for (StatKind kind : settings.statOrder()) {
        if (!settings.enabledStats().contains(kind)) continue;
        std::optional<StatDescriptor> built =
            descriptor(kind, store, settings, environment, details);
        if (!built) continue;
        auto& lastBands = store.lastBands();
        auto previous = lastBands.find(kind);
        built->band = classifyBand(
            kind, built->loadPercent,
            previous == lastBands.end() ? std::nullopt : std::optional<Band>(previous->second));
        lastBands[kind] = built->band;
        built->tint = tint(built->band, settings.theme().statusStyle);
        list.push_back(std::move(*built));
    }
    return list;
}

Tint tint(Band band, Theme::StatusStyle style) {
    if (style == Theme::StatusStyle::suppressed) return Tint::primaryText;
    switch (band) {
        case Band::calm:
            return Tint::calm;
        case Band::busy:
            return Tint::busy;
        case Band::hot:
            return Tint::hot;
    }
    return Tint::primaryText;
}

}  // namespace glintdeck
