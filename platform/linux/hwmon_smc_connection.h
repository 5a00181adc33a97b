#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/gpu_sensor_gate.h"
#include "platform/linux/kernel_file.h"
#include "samplers/smc.h"

namespace glintdeck {

// A value the connection answers for one key: a kernel file read at each request (scaled to
// the key's unit), or a constant fixed at discovery.
struct HwmonSmcValue {
    std::unique_ptr<KernelFile> file;  // null for a constant
    double scale = 1;                  // file units per key unit (1e6 for µW as W)
    double constant = 0;
    GpuSensorGate<double> gate;  // a GPU's file is read as the card's schedule allows
};

// One fan header of a chip: its speed and, where the chip has them, its limits.
struct HwmonFan {
    HwmonSmcValue current;
    std::optional<HwmonSmcValue> minimum;
    std::optional<HwmonSmcValue> maximum;
    // Whether the fan has a row: a super-I/O header only from its first turn on.
    bool listed = true;
};

// The controller as Linux offers it: hwmon answers the fan keys ("FNum", "F{i}Ac/Mn/Mx" in
// rpm) and "PSTR" (whole-system power in W from a power meter), each as a "flt " value, so the
// client decodes them unchanged. An unknown key gets data size 0, as the controller answers
// it; a file that cannot be read (or a sleeping GPU's) fails the value request.
//
// Fans are every fan of a laptop's controller or a graphics card, stopped or not (a ThinkPad at
// idle, a Radeon in zero-RPM mode), and the motherboard headers that have spun since the
// connection opened: super-I/O chips list every header of the board, and one that has read
// 0 rpm at every reading has nothing plugged in. Each request for "FNum" looks again at the
// headers that have not spun yet; a header that has spun keeps its place and may read 0 later.
class HwmonSmcConnection final : public SmcConnection {
  public:
    explicit HwmonSmcConnection(std::map<std::string, HwmonSmcValue> keys,
                                std::vector<HwmonFan> fans = {});

    [[nodiscard]] int32_t call(uint32_t selector, const SMCKeyRecord::Wire& input,
                               SMCKeyRecord::Wire& output) override;

  private:
    // The value behind a key, or null for a key not answered; "FNum" is counted anew when
    // refresh is set.
    [[nodiscard]] HwmonSmcValue* find(uint32_t key, bool refresh);

    std::map<uint32_t, HwmonSmcValue> keys_;
    std::vector<HwmonFan> fans_;
    std::vector<size_t> listed_;  // indices of the listed fans, in discovery order
    HwmonSmcValue fanCount_;
};

// Discovers fans (fanK_input of every chip, in chip then K order) and a power meter (the ACPI
// power_meter, or the system-power sensor of Apple silicon's macsmc_hwmon) under root. Nothing
// when neither exists, so the client stays unconnected. A GPU's fan is read as gpus allows.
[[nodiscard]] std::unique_ptr<SmcConnection> openHwmonSmcConnection(
    const std::string& root, const std::shared_ptr<GpuReadSchedule>& gpus);

}  // namespace glintdeck
