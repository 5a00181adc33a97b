#include "platform/linux/nvml_sensors.h"

#include "platform/linux/gpu_energy_counters.h"
#include "platform/linux/gpu_sensor_gate.h"
#include "platform/linux/nvml_library.h"
#include "platform/linux/pci_display_devices.h"

namespace glintdeck {
namespace {

// The library, opened once per reader. A query opens a session for it (on the card's turn
// only) and closes it again unless the card stays awake anyway: NVML counts initialisations,
// and an open session keeps the driver attached to the card.
class NvmlSession final {
  public:
    NvmlSession(std::unique_ptr<NvmlLibrary> library, std::shared_ptr<GpuReadSchedule> gpus)
        : library_(std::move(library)), gpus_(std::move(gpus)) {}

    template <typename Value, typename Query>
    std::optional<Value> query(const PciDisplayDevice& card, Query&& ask) {
        std::optional<Value> answer;
        if (library_->isInitialized() || library_->initialize()) {
            if (std::optional<NvmlDevice> device = library_->deviceByPciBusId(card.slot)) {
                answer = ask(*library_, *device);
                // The schedule reads an idle card in rounds and a busy one every tick.
                if (auto percent = library_->utilizationPercent(*device)) {
                    gpus_->reportBusy(card.directory, *percent > 0);
                }
            }
        }
        if (!gpus_->staysAwake(card.directory)) library_->shutdown();
        return answer;
    }
    const std::shared_ptr<GpuReadSchedule>& schedule() const { return gpus_; }

  private:
    std::unique_ptr<NvmlLibrary> library_;
    std::shared_ptr<GpuReadSchedule> gpus_;
};

struct NvidiaCards {
    std::shared_ptr<NvmlSession> session;
    std::vector<PciDisplayDevice> cards;
};

NvidiaCards findNvidiaCards(const std::string& root, const std::shared_ptr<GpuReadSchedule>& gpus,
                            const std::string& libraryPath) {
    NvidiaCards found;
    for (PciDisplayDevice& device : findPciDisplayDevices(root)) {
        if (device.driver == "nvidia") found.cards.push_back(std::move(device));
    }
    if (found.cards.empty()) return found;
    // Opening the library touches no card.
    if (auto library = NvmlLibrary::load(libraryPath)) {
        found.session = std::make_shared<NvmlSession>(std::move(library), gpus);
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
        return session_->query<uint64_t>(card_, [](NvmlLibrary& nvml, NvmlDevice device) {
            return nvml.totalEnergyMillijoules(device);
        });
    }

  private:
    std::shared_ptr<NvmlSession> session_;
    PciDisplayDevice card_;
};

class NvmlTemperatureSensor final : public TemperatureSensor {
  public:
    NvmlTemperatureSensor(std::shared_ptr<NvmlSession> session, PciDisplayDevice card)
        : session_(std::move(session)),
          card_(std::move(card)),
          gate_(session_->schedule(), card_.directory) {}
    std::optional<double> temperature() override {
        return gate_.read([this] {
            return session_->query<double>(
                card_, [](NvmlLibrary& nvml, NvmlDevice device) -> std::optional<double> {
                    auto celsius = nvml.temperatureCelsius(device);
                    if (!celsius) return std::nullopt;
                    return static_cast<double>(*celsius);
                });
        });
    }

  private:
    std::shared_ptr<NvmlSession> session_;
    PciDisplayDevice card_;
    GpuSensorGate<double> gate_;
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
                                              const std::shared_ptr<GpuReadSchedule>& gpus,
                                              const std::string& libraryPath) {
    NvidiaCards found = findNvidiaCards(root, gpus, libraryPath);
    std::vector<EnergyChannel> channels;
    for (PciDisplayDevice& card : found.cards) {
        std::string directory = card.directory;
        channels.push_back(
            EnergyChannel{.name = "GPU Energy",
                          .unit = "mJ",
                          .counter = std::make_unique<ScheduledEnergyCounter>(
                              std::make_unique<NvmlEnergyCounter>(found.session, std::move(card)),
                              gpus, std::move(directory))});
    }
    return channels;
}

std::unique_ptr<ThermalServiceSource> nvmlThermalServices(
    const std::string& root, const std::shared_ptr<GpuReadSchedule>& gpus,
    const std::string& libraryPath) {
    NvidiaCards found = findNvidiaCards(root, gpus, libraryPath);
    if (found.cards.empty()) return nullptr;
    return std::make_unique<NvmlThermalServices>(std::move(found));
}

}  // namespace glintdeck
