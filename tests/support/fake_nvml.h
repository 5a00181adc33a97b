#pragma once

// The control panel of the fake NVML library the tests build (fake_nvml.cpp): a plain C
// struct the test reaches through dlsym("fakeNvmlState") on the same library the code under
// test opens with dlopen, so both see one state.

struct FakeNvmlDevice {
    char busId[32];
    char name[96];
    unsigned utilization;
    unsigned temperature;
    unsigned long long energyMillijoules;
};

struct FakeNvmlState {
    // Set by the test.
    int initResult;  // what nvmlInit_v2 returns: 0 success, else an NVML error code
    unsigned deviceCount;
    FakeNvmlDevice devices[4];
    // Counted by the library.
    int sessions;  // open initialisations
    int initCalls;
    int deviceCalls;  // every call that finds or asks about a device
};

extern "C" FakeNvmlState* fakeNvmlState();
