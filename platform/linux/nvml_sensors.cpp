#include "platform/linux/nvml_sensors.h"

#include "platform/linux/device_power.h"
#include "platform/linux/nvml_library.h"
#include "platform/linux/pci_display_devices.h"

namespace glintdeck {
namespace {

// The library, opened once per reader and initialised on the first read of an awake card.
class NvmlSession final {
  public:
    explicit NvmlSession(std::unique_ptr<NvmlLibrary> library) : library_(std::move(library)) {}

    // A card's device handle while the card is awake, else nothing.
    std::optional<NvmlDevice> awakeDevice(const PciDisplayDevice& card) {
        if (!deviceIsAwake(card.directory)) return std::nullopt;
        if (!library_->isInitialized() && !library_->initialize()) return std::nullopt;
        return library_->deviceByPciBusId(card.slot);
    }
    NvmlLibrary& library() { return *library_; }

  private:
    std::unique_ptr<NvmlLibrary> library_;
};

struct NvidiaCards {
    std::shared_ptr<NvmlSession> session;
    std::vector<PciDisplayDevice> cards;
};

NvidiaCards findNvidiaCards(const std::string& root, const std::string& libraryPath) {
    NvidiaCards found;
    for (PciDisplayDevice& device : findPciDisplayDevices(root)) {
        if (device.driver == "nvidia") found.cards.push_back(std::move(device));
    }
    if (found.cards.empty()) return found;
    // Opening the library touches no card.
    if (auto library = NvmlLibrary::load(libraryPath)) {
        found.session = std::make_shared<NvmlSession>(std::move(library));
    } else {
        found.cards.clear();
    }
    return found;
}

class NvmlEnergyCounter final : public EnergyCounter {
  public:
    NvmlEnergyCounter(std::shared_ptr<NvmlSession> session, PciDisplayDevice card)
        : session_(std::move(session)), card_(std::move(card)) {}
    std::optional<uint64_t> read() override {
        auto device = session_->awakeDevice(card_);
        if (!device) return std::nullopt;
        return session_->library().totalEnergyMillijoules(*device);
    }

  private:
    std::shared_ptr<NvmlSession> session_;
    PciDisplayDevice card_;
};

class NvmlTemperatureSensor final : public TemperatureSensor {
  public:
    NvmlTemperatureSensor(std::shared_ptr<NvmlSession> session, PciDisplayDevice card)
        : session_(std::move(session)), card_(std::move(card)) {}
    std::optional<double> temperature() override {
        auto device = session_->awakeDevice(card_);
        if (!device) return std::nullopt;
        auto celsius = session_->library().temperatureCelsius(*device);
        if (!celsius) return std::nullopt;
        return static_cast<double>(*celsius);
    }

  private:
    std::shared_ptr<NvmlSession> session_;
    PciDisplayDevice card_;
};

class NvmlThermalServices final : public ThermalServiceSource {
  public:
    explicit NvmlThermalServices(NvidiaCards cards) : cards_(std::move(cards)) {}
    std::vector<ThermalService> copyServices() override {
        std::vector<ThermalService> services;
        for (const PciDisplayDevice& card : cards_.cards) {
            services.push_back(ThermalService{
                .product = "nvidia " + card.slot,
                .role = "GPU",
                .sensor = std::make_unique<NvmlTemperatureSensor>(cards_.session, card)});
        }
        return services;
    }

  private:
    NvidiaCards cards_;
};

}  // namespace

std::vector<EnergyChannel> nvmlEnergyChannels(const std::string& root,
                                              const std::string& libraryPath) {
    NvidiaCards found = findNvidiaCards(root, libraryPath);
    std::vector<EnergyChannel> channels;
    for (PciDisplayDevice& card : found.cards) {
        channels.push_back(EnergyChannel{
            .name = "GPU Energy",
            .unit = "mJ",
            .counter = std::make_unique<NvmlEnergyCounter>(found.session, std::move(card))});
    }
    return channels;
}

std::unique_ptr<ThermalServiceSource> nvmlThermalServices(const std::string& root,
                                                          const std::string& libraryPath) {
    NvidiaCards found = findNvidiaCards(root, libraryPath);
    if (found.cards.empty()) return nullptr;
    return std::make_unique<NvmlThermalServices>(std::move(found));
}

}  // namespace glintdeck
