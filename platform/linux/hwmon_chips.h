#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glintdeck {

// A hardware-monitoring chip of /sys/class/hwmon and the folders that hold its attributes:
// its own folder and, where it has a device, the device's folder (older drivers and the ACPI
// power meter put their files there).
struct HwmonChip {
    std::string name;             // the chip's "name" attribute: "coretemp", "applesmc", "amdgpu"
    std::string directory;        // .../sys/class/hwmon/hwmonN
    std::string deviceDirectory;  // directory + "/device", or empty without a device
    // A PCI display controller: its files are read only as its schedule allows
    // (gpu_read_schedule.h), since a read resumes a sleeping card.
    bool isGpu = false;
    std::vector<std::string> attributeDirectories;
};

// The chips under root, ordered by the path they resolve to (the device they hang off), which
// stays the same from boot to boot while hwmonN numbers follow probe order. A device folder
// shared by several chips is searched for attributes only once.
[[nodiscard]] std::vector<HwmonChip> listHwmonChips(const std::string& root);

// An indexed attribute such as fan2_input: its index and the file's full path.
struct HwmonAttribute {
    int index = 0;
    std::string path;
};

// Every attribute prefix + K + suffix of the chip ("fan", "_input"), by ascending K (so fan10
// follows fan9). When both folders hold one, the chip's own folder wins.
[[nodiscard]] std::vector<HwmonAttribute> findHwmonAttributes(const HwmonChip& chip,
                                                              std::string_view prefix,
                                                              std::string_view suffix);

// A motherboard monitoring (super-I/O) chip: nct67xx, it87xx, w83xxx, f71xxx. It lists every
// fan header and temperature pin of the board, connected or not.
[[nodiscard]] bool isSuperIOChip(std::string_view chip);

// The sibling of an attribute: "/x/temp1_input" with "_crit" is "/x/temp1_crit".
[[nodiscard]] std::string siblingAttribute(const HwmonAttribute& attribute,
                                           std::string_view suffix);

}  // namespace glintdeck
