#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct pci_access;

namespace glintdeck {

// Model names of PCI devices from the PCI ID database through libpci, by vendor and device id
// alone. The devices themselves are never touched: no bus scan and no configuration-space read,
// which would wake a runtime-suspended card.
class PciNames final {
  public:
    // idsFile: the database to read; empty for libpci's own (with udev's hardware database).
    explicit PciNames(const std::string& idsFile = "");
    ~PciNames();
    PciNames(const PciNames&) = delete;
    PciNames& operator=(const PciNames&) = delete;

    // The database's name for the device; nothing when it lists none or cannot be read.
    [[nodiscard]] std::optional<std::string> deviceName(uint16_t vendor, uint16_t device);

  private:
    std::string idsFile_;  // libpci keeps a pointer to it
    pci_access* access_ = nullptr;
    int flags_ = 0;
};

// The product a database name sells under: "Navi 21 [Radeon RX 6800/6800 XT / 6900 XT]"
// gives what is in the brackets; a name without them stays whole.
[[nodiscard]] std::string productName(std::string_view databaseName);

}  // namespace glintdeck
