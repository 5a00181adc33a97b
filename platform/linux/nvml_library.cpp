#include "platform/linux/nvml_library.h"

#include <dlfcn.h>

#include <array>

namespace glintdeck {
namespace {

// The slice of nvml.h this file relies on; NVML's C ABI has kept these stable since 2013.
using Return = int;  // nvmlReturn_t
constexpr Return kSuccess = 0;
using Device = void*;  // nvmlDevice_t
struct Utilization {   // nvmlUtilization_t
    unsigned int gpu;
    unsigned int memory;
};
constexpr int kTemperatureGpu = 0;        // NVML_TEMPERATURE_GPU
constexpr unsigned kNameBufferSize = 96;  // NVML_DEVICE_NAME_V2_BUFFER_SIZE

template <typename Function>
bool resolve(void* library, const char* symbol, Function*& function) {
    function = reinterpret_cast<Function*>(dlsym(library, symbol));
    return function != nullptr;
}

}  // namespace

struct NvmlLibrary::EntryPoints {
    Return (*init)() = nullptr;
    Return (*shutdown)() = nullptr;
    Return (*getCount)(unsigned int*) = nullptr;
    Return (*getHandleByIndex)(unsigned int, Device*) = nullptr;
    Return (*getHandleByPciBusId)(const char*, Device*) = nullptr;
    Return (*getUtilizationRates)(Device, Utilization*) = nullptr;
    Return (*getName)(Device, char*, unsigned int) = nullptr;
    // Optional: a driver too old for them still gives utilization and names.
    Return (*getTemperature)(Device, int, unsigned int*) = nullptr;
    Return (*getTotalEnergyConsumption)(Device, unsigned long long*) = nullptr;
};

std::unique_ptr<NvmlLibrary> NvmlLibrary::load(const std::string& path) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    auto api = std::make_unique<EntryPoints>();
    bool complete =
        resolve(library, "nvmlInit_v2", api->init) &&
        resolve(library, "nvmlShutdown", api->shutdown) &&
        resolve(library, "nvmlDeviceGetCount_v2", api->getCount) &&
        resolve(library, "nvmlDeviceGetHandleByIndex_v2", api->getHandleByIndex) &&
        resolve(library, "nvmlDeviceGetHandleByPciBusId_v2", api->getHandleByPciBusId) &&
        resolve(library, "nvmlDeviceGetUtilizationRates", api->getUtilizationRates) &&
        resolve(library, "nvmlDeviceGetName", api->getName);
    if (!complete) {
        dlclose(library);
        return nullptr;
    }
    (void)resolve(library, "nvmlDeviceGetTemperature", api->getTemperature);
    (void)resolve(library, "nvmlDeviceGetTotalEnergyConsumption", api->getTotalEnergyConsumption);
    return std::unique_ptr<NvmlLibrary>(new NvmlLibrary(library, std::move(api)));
}

NvmlLibrary::NvmlLibrary(void* library, std::unique_ptr<EntryPoints> entryPoints)
    : library_(library), api_(std::move(entryPoints)) {}

NvmlLibrary::~NvmlLibrary() {
    shutdown();
    dlclose(library_);
}

bool NvmlLibrary::initialize() {
    if (!initialized_) initialized_ = api_->init() == kSuccess;
    return initialized_;
}

void NvmlLibrary::shutdown() {
    if (!initialized_) return;
    (void)api_->shutdown();
    initialized_ = false;
}

std::optional<unsigned> NvmlLibrary::deviceCount() {
    unsigned int count = 0;
    if (!initialized_ || api_->getCount(&count) != kSuccess) return std::nullopt;
    return count;
}

std::optional<NvmlDevice> NvmlLibrary::deviceByPciBusId(const std::string& busId) {
    Device device = nullptr;
    if (!initialized_ || api_->getHandleByPciBusId(busId.c_str(), &device) != kSuccess) {
        return std::nullopt;
    }
    return NvmlDevice{device};
}

std::optional<NvmlDevice> NvmlLibrary::deviceByIndex(unsigned index) {
    Device device = nullptr;
    if (!initialized_ || api_->getHandleByIndex(index, &device) != kSuccess) return std::nullopt;
    return NvmlDevice{device};
}

std::optional<unsigned> NvmlLibrary::utilizationPercent(NvmlDevice device) {
    Utilization utilization{};
    if (!initialized_ || api_->getUtilizationRates(device.handle, &utilization) != kSuccess) {
        return std::nullopt;
    }
    return utilization.gpu;
}

std::optional<std::string> NvmlLibrary::name(NvmlDevice device) {
    std::array<char, kNameBufferSize> buffer{};
    if (!initialized_ ||
        api_->getName(device.handle, buffer.data(), kNameBufferSize - 1) != kSuccess) {
        return std::nullopt;
    }
    // The last byte is never offered to the driver, so the name always ends in a NUL.
    return std::string(buffer.data());
}

std::optional<unsigned> NvmlLibrary::temperatureCelsius(NvmlDevice device) {
    unsigned int celsius = 0;
    if (!initialized_ || api_->getTemperature == nullptr ||
        api_->getTemperature(device.handle, kTemperatureGpu, &celsius) != kSuccess) {
        return std::nullopt;
    }
    return celsius;
}

std::optional<uint64_t> NvmlLibrary::totalEnergyMillijoules(NvmlDevice device) {
    unsigned long long millijoules = 0;
    if (!initialized_ || api_->getTotalEnergyConsumption == nullptr ||
        api_->getTotalEnergyConsumption(device.handle, &millijoules) != kSuccess) {
        return std::nullopt;
    }
    return millijoules;
}

}  // namespace glintdeck
