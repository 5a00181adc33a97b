// A stand-in for libnvidia-ml.so.1 exporting the entry points Glintdeck resolves, so the real
// dlopen and dlsym path runs in tests on machines without an NVIDIA driver.

#include "tests/support/fake_nvml.h"

#include <cstring>

namespace {

constexpr int kSuccess = 0;
constexpr int kUninitialized = 1;
constexpr int kInvalidArgument = 2;
constexpr int kInsufficientSize = 7;
constexpr int kNotFound = 6;

FakeNvmlState state{};

FakeNvmlDevice* known(void* device) {
    for (unsigned i = 0; i < state.deviceCount; ++i) {
        if (device == &state.devices[i]) return &state.devices[i];
    }
    return nullptr;
}

int deviceCall() {
    ++state.deviceCalls;
    return state.sessions > 0 ? kSuccess : kUninitialized;
}

}  // namespace

extern "C" {

FakeNvmlState* fakeNvmlState() { return &state; }

int nvmlInit_v2() {
    ++state.initCalls;
    if (state.initResult != kSuccess) return state.initResult;
    ++state.sessions;
    return kSuccess;
}

int nvmlShutdown() {
    if (state.sessions == 0) return kUninitialized;
    --state.sessions;
    return kSuccess;
}

int nvmlDeviceGetCount_v2(unsigned* count) {
    if (state.sessions == 0) return kUninitialized;
    *count = state.deviceCount;
    return kSuccess;
}

int nvmlDeviceGetHandleByIndex_v2(unsigned index, void** device) {
    if (int result = deviceCall(); result != kSuccess) return result;
    if (index >= state.deviceCount) return kInvalidArgument;
    *device = &state.devices[index];
    return kSuccess;
}

int nvmlDeviceGetHandleByPciBusId_v2(const char* busId, void** device) {
    if (int result = deviceCall(); result != kSuccess) return result;
    for (unsigned i = 0; i < state.deviceCount; ++i) {
        if (std::strcmp(state.devices[i].busId, busId) == 0) {
            *device = &state.devices[i];
            return kSuccess;
        }
    }
    return kNotFound;
}

int nvmlDeviceGetUtilizationRates(void* device, unsigned* rates) {
    if (int result = deviceCall(); result != kSuccess) return result;
    FakeNvmlDevice* found = known(device);
    if (found == nullptr) return kInvalidArgument;
    rates[0] = found->utilization;
    rates[1] = 0;
    return kSuccess;
}

int nvmlDeviceGetName(void* device, char* name, unsigned length) {
    if (int result = deviceCall(); result != kSuccess) return result;
    FakeNvmlDevice* found = known(device);
    if (found == nullptr) return kInvalidArgument;
    if (std::strlen(found->name) >= length) return kInsufficientSize;
    std::strcpy(name, found->name);
    return kSuccess;
}

int nvmlDeviceGetTemperature(void* device, int sensor, unsigned* celsius) {
    if (int result = deviceCall(); result != kSuccess) return result;
    FakeNvmlDevice* found = known(device);
    if (found == nullptr || sensor != 0) return kInvalidArgument;
    *celsius = found->temperature;
    return kSuccess;
}

int nvmlDeviceGetTotalEnergyConsumption(void* device, unsigned long long* millijoules) {
    if (int result = deviceCall(); result != kSuccess) return result;
    FakeNvmlDevice* found = known(device);
    if (found == nullptr) return kInvalidArgument;
    *millijoules = found->energyMillijoules;
    return kSuccess;
}

}  // extern "C"
