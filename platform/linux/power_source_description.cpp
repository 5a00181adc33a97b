#include "platform/linux/power_source_description.h"

#include <algorithm>
#include <cstdlib>

namespace glintdeck {
namespace {

enum class Family { energy, charge, capacity };

using Field = std::optional<int64_t> BatteryReading::*;

struct Selection {
    std::vector<const BatteryReading*> batteries;
    Family family = Family::capacity;
};

bool hasEnergy(const BatteryReading& battery) { return battery.energyNow && battery.energyFull; }

bool hasCharge(const BatteryReading& battery) { return battery.chargeNow && battery.chargeFull; }

Selection select(const std::vector<BatteryReading>& batteries) {
    Selection all;
    for (const BatteryReading& battery : batteries) all.batteries.push_back(&battery);
    if (std::all_of(batteries.begin(), batteries.end(), hasEnergy)) {
        all.family = Family::energy;
        return all;
    }
    if (std::all_of(batteries.begin(), batteries.end(), hasCharge)) {
        all.family = Family::charge;
        return all;
    }
    const BatteryReading& first = batteries.front();
    return Selection{
        .batteries = {&first},
        .family = hasEnergy(first)   ? Family::energy
                  : hasCharge(first) ? Family::charge
                                     : Family::capacity,
    };
}

// The sum of one attribute over the selected batteries; nothing when any of them lacks it, or
// when a broken gauge reports values whose sum does not fit.
std::optional<int64_t> sum(const Selection& selection, Field field) {
    int64_t total = 0;
    for (const BatteryReading* battery : selection.batteries) {
        if (!(battery->*field)) return std::nullopt;
        if (__builtin_add_overflow(total, *(battery->*field), &total)) return std::nullopt;
    }
    return total;
}

void insertSum(PropertyTable& table, const char* key, const Selection& selection, Field field) {
    if (std::optional<int64_t> total = sum(selection, field)) table.insert_or_assign(key, *total);
}

// What a battery holds now, no more than when full: after a calibration firmware reports a
// charge above full, and the battery is then simply full.
int64_t heldNow(const BatteryReading& battery, Field now, Field full) {
    return std::min(*(battery.*now), *(battery.*full));
}

// The batteries' charge now and when full, both present on every battery of their family.
void insertCapacities(PropertyTable& table, const Selection& selection, Field now, Field full) {
    int64_t total = 0;
    for (const BatteryReading* battery : selection.batteries) {
        if (__builtin_add_overflow(total, heldNow(*battery, now, full), &total)) return;
    }
    table.insert_or_assign("Current Capacity", total);
    insertSum(table, "Max Capacity", selection, full);
}

// Stored energy in watt-hours, now or when full. A charge in µAh becomes energy at the
// present voltage, as UPower converts it.
std::optional<double> wattHours(const BatteryReading& battery, Family family, bool full) {
    if (family == Family::energy) {
        int64_t microWattHours =
            full ? *battery.energyFull
                 : heldNow(battery, &BatteryReading::energyNow, &BatteryReading::energyFull);
        return static_cast<double>(microWattHours) / 1e6;
    }
    if (family == Family::charge && battery.voltageNow) {
        int64_t microAmpHours =
            full ? *battery.chargeFull
                 : heldNow(battery, &BatteryReading::chargeNow, &BatteryReading::chargeFull);
        return static_cast<double>(microAmpHours) / 1e6 * static_cast<double>(*battery.voltageNow) /
               1e6;
    }
    return std::nullopt;
}

// The rate at which energy flows in or out, in watts, whatever sign the driver gives it.
std::optional<double> rateWatts(const BatteryReading& battery) {
    if (battery.powerNow) return std::abs(static_cast<double>(*battery.powerNow)) / 1e6;
    if (battery.currentNow && battery.voltageNow) {
        return std::abs(static_cast<double>(*battery.currentNow) / 1e6 *
                        static_cast<double>(*battery.voltageNow) / 1e6);
    }
    return std::nullopt;
}

template <typename Value>
std::optional<double> total(const Selection& selection, Value value) {
    double sum = 0;
    for (const BatteryReading* battery : selection.batteries) {
        std::optional<double> part = value(*battery);
        if (!part) return std::nullopt;
        sum += *part;
    }
    return sum;
}

PropertyTable registryEntry(const Selection& selection) {
    PropertyTable registry;
    const BatteryReading& first = *selection.batteries.front();
    // Firmware that keeps no count reports 0 (or -1): unknown, as UPower treats it.
    if (first.cycleCount && *first.cycleCount > 0) {
        registry.insert_or_assign("CycleCount", *first.cycleCount);
    }
    // Design and full capacities must be in one unit for their ratio to mean anything.
    bool energy = selection.family == Family::energy ||
                  (selection.family == Family::capacity && first.energyFullDesign);
    if (auto design = sum(selection, energy ? &BatteryReading::energyFullDesign
                                            : &BatteryReading::chargeFullDesign)) {
        registry.insert_or_assign("DesignCapacity", *design);
    }
    if (auto full =
            sum(selection, energy ? &BatteryReading::energyFull : &BatteryReading::chargeFull)) {
        registry.insert_or_assign("NominalChargeCapacity", *full);
    }
    for (const BatteryReading* battery : selection.batteries) {
        if (battery->temp) {
            // sysfs gives tenths of a degree; the registry holds hundredths.
            int64_t hundredths = 0;
            if (!__builtin_mul_overflow(*battery->temp, 10, &hundredths)) {
                registry.insert_or_assign("Temperature", hundredths);
            }
            break;
        }
    }
    return registry;
}

}  // namespace

PowerSourceReading PowerSourceDescriber::describe(const PowerSupplyReading& supplies, double now) {
    if (supplies.batteries.empty()) {
        rate_.reset();
        lastFlow_ = Flow::still;
        return {};
    }
    Selection selection = select(supplies.batteries);

    PropertyTable description;
    switch (selection.family) {
        case Family::energy:
            insertCapacities(description, selection, &BatteryReading::energyNow,
                             &BatteryReading::energyFull);
            break;
        case Family::charge:
            insertCapacities(description, selection, &BatteryReading::chargeNow,
                             &BatteryReading::chargeFull);
            break;
        case Family::capacity:
            if (const auto& capacity = selection.batteries.front()->capacity) {
                description.insert_or_assign("Current Capacity", *capacity);
            }
            description.insert_or_assign("Max Capacity", 100);
            break;
    }

    auto withStatus = [&](std::string_view status) {
        return std::any_of(supplies.batteries.begin(), supplies.batteries.end(),
                           [&](const BatteryReading& battery) { return battery.status == status; });
    };
    bool charging = withStatus("Charging");
    Flow flow = charging                    ? Flow::charging
                : withStatus("Discharging") ? Flow::discharging
                                            : Flow::still;
    description.insert_or_assign("Is Charging", charging);
    description.insert_or_assign("Power Source State",
                                 supplies.onLinePower ? "AC Power" : "Battery Power");

    if (flow != lastFlow_) {
        rate_.reset();
        lastFlow_ = flow;
    }
    std::optional<double> rate = total(selection, rateWatts);
    if (rate && *rate >= kLowestRateWatts && *rate <= kHighestRateWatts) rate_.add(*rate, now);

    if (flow != Flow::still) {
        const char* key = charging ? "Time to Full Charge" : "Time to Empty";
        const BatteryReading& only = *selection.batteries.front();
        const auto& driverSeconds = charging ? only.timeToFullNow : only.timeToEmptyNow;
        std::optional<double> stored = total(selection, [&](const BatteryReading& battery) {
            return wattHours(battery, selection.family, false);
        });
        std::optional<double> full = total(selection, [&](const BatteryReading& battery) {
            return wattHours(battery, selection.family, true);
        });
        if (selection.batteries.size() == 1 && driverSeconds) {
            description.insert_or_assign(key, static_cast<double>(*driverSeconds) / 60);
        } else if (rate_.watts() && stored && full) {
            double hours = (charging ? *full - *stored : *stored) / *rate_.watts();
            description.insert_or_assign(key, hours * 60);
        }
    }
    return PowerSourceReading{.description = std::move(description),
                              .registry = registryEntry(selection)};
}

}  // namespace glintdeck
