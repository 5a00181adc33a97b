#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/gpu_read_schedule.h"
#include "samplers/iohid_temperature_reader.h"
#include "samplers/ioreport_power.h"

namespace glintdeck {

// NVIDIA cards' energy counters and temperatures for the power and temperature samplers, read
// through NVML as the cards' schedule allows (gpu_read_schedule.h): never while a card sleeps,
// in rounds while it idles, with a session open only while some card stays awake anyway.
// Nothing is returned where there is no NVIDIA card or no NVML library.

// One "GPU Energy" channel (millijoules) per NVIDIA card.
[[nodiscard]] std::vector<EnergyChannel> nvmlEnergyChannels(
    const std::string& root, const std::shared_ptr<GpuReadSchedule>& gpus,
    const std::string& libraryPath = "libnvidia-ml.so.1");

// A "GPU" temperature sensor per NVIDIA card; nothing without a card or the library.
[[nodiscard]] std::unique_ptr<ThermalServiceSource> nvmlThermalServices(
    const std::string& root, const std::shared_ptr<GpuReadSchedule>& gpus,
    const std::string& libraryPath = "libnvidia-ml.so.1");

}  // namespace glintdeck
