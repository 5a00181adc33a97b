#pragma once

#include <memory>
#include <string>
#include <vector>

#include "samplers/iohid_temperature_reader.h"
#include "samplers/ioreport_power.h"

namespace glintdeck {

// NVIDIA cards' energy counters and temperatures for the power and temperature samplers, read
// through NVML. Like the GPU sampler, they never wake a sleeping card: a card that is not
// awake gives no reading, and NVML is initialised only once some card is awake. Nothing is
// returned where there is no NVIDIA card or no NVML library.

// One "GPU Energy" channel (millijoules) per NVIDIA card.
[[nodiscard]] std::vector<EnergyChannel> nvmlEnergyChannels(
    const std::string& root, const std::string& libraryPath = "libnvidia-ml.so.1");

// A "GPU" temperature sensor per NVIDIA card; nothing without a card or the library.
[[nodiscard]] std::unique_ptr<ThermalServiceSource> nvmlThermalServices(
    const std::string& root, const std::string& libraryPath = "libnvidia-ml.so.1");

}  // namespace glintdeck
