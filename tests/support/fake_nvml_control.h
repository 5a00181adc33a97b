#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/fake_nvml.h"
#include "tests/support/test_paths.h"

namespace glintdeck {

// Holds the fake NVML library open for one test and hands out its state, reset to no devices
// and a working nvmlInit_v2. The code under test opens the same file and shares the state.
class FakeNvml final {
  public:
    FakeNvml() : library_(dlopen(test_paths::kFakeNvml, RTLD_NOW | RTLD_LOCAL)) {
        if (library_ == nullptr) {
            ADD_FAILURE() << "cannot open the fake NVML: " << dlerror();
            return;
        }
        auto stateOf = reinterpret_cast<FakeNvmlState* (*)()>(dlsym(library_, "fakeNvmlState"));
        state_ = stateOf();
        *state_ = FakeNvmlState{};
    }
    ~FakeNvml() {
        if (library_ != nullptr) dlclose(library_);
    }
    FakeNvml(const FakeNvml&) = delete;
    FakeNvml& operator=(const FakeNvml&) = delete;

    static std::string path() { return test_paths::kFakeNvml; }

    FakeNvmlState& state() { return *state_; }

    FakeNvmlDevice& addDevice(const char* busId, const char* name, unsigned utilization) {
        FakeNvmlDevice& device = state_->devices[state_->deviceCount++];
        std::strncpy(device.busId, busId, sizeof device.busId - 1);
        std::strncpy(device.name, name, sizeof device.name - 1);
        device.utilization = utilization;
        return device;
    }

  private:
    void* library_ = nullptr;
    FakeNvmlState* state_ = nullptr;
};

}  // namespace glintdeck
