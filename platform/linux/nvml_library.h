#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace glintdeck {

// A device of an initialised NVML session; invalid once the session shuts down.
struct NvmlDevice {
    void* handle = nullptr;
};

// NVIDIA's management library, opened at run time so that the program neither builds nor runs
// against it: a machine without the NVIDIA driver simply has no NVML. Only the few entry
// points the samplers use are resolved.
//
// Initialising NVML and asking it about a device talk to that GPU's driver, which wakes a
// runtime-suspended card; callers check the card's power state (device_power.h) before any
// call naming it, and initialise only when some card is awake. Every query answers nothing
// before initialize() succeeded or after shutdown(). One object is used on one thread at a
// time; NVML counts initialisations, so several objects may hold sessions at once.
class NvmlLibrary final {
  public:
    static constexpr const char* kProductPath = "libnvidia-ml.so.1";

    // Opens the library at path and resolves its entry points; nothing when the library is
    // absent or is not NVML. Does not initialise it.
    [[nodiscard]] static std::unique_ptr<NvmlLibrary> load(const std::string& path = kProductPath);

    ~NvmlLibrary();
    NvmlLibrary(const NvmlLibrary&) = delete;
    NvmlLibrary& operator=(const NvmlLibrary&) = delete;

    // nvmlInit_v2: discovers no device yet. True when a session is open (at once when one
    // already was).
    [[nodiscard]] bool initialize();
    // Ends this object's session, if any. The destructor does it too.
    void shutdown();
    [[nodiscard]] bool isInitialized() const { return initialized_; }

    [[nodiscard]] std::optional<unsigned> deviceCount();
    // busId as sysfs names a PCI device: "0000:01:00.0".
    [[nodiscard]] std::optional<NvmlDevice> deviceByPciBusId(const std::string& busId);
    [[nodiscard]] std::optional<NvmlDevice> deviceByIndex(unsigned index);

    // GPU busy share over the driver's last sample period, 0-100.
    [[nodiscard]] std::optional<unsigned> utilizationPercent(NvmlDevice device);
    [[nodiscard]] std::optional<std::string> name(NvmlDevice device);
    // The GPU die temperature in degrees Celsius.
    [[nodiscard]] std::optional<unsigned> temperatureCelsius(NvmlDevice device);
    // Energy used since the driver was loaded, in millijoules (Volta and later).
    [[nodiscard]] std::optional<uint64_t> totalEnergyMillijoules(NvmlDevice device);

  private:
    struct EntryPoints;

    NvmlLibrary(void* library, std::unique_ptr<EntryPoints> entryPoints);

    void* library_;
    std::unique_ptr<EntryPoints> api_;
    bool initialized_ = false;
};

}  // namespace glintdeck
