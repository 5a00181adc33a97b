#include "platform/linux/pci_accelerator_source.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/printable_text.h"
#include "platform/linux/device_power.h"
#include "platform/linux/intel_gpu_idle.h"
#include "platform/linux/kernel_file.h"
#include "platform/linux/pci_display_devices.h"
#include "platform/linux/pci_names.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

enum class Statistics { none, amdgpu, nvml, intelIdle };

}  // namespace

struct PciAcceleratorSource::Card {
    PciDisplayDevice pci;
    Statistics statistics = Statistics::none;
    std::optional<std::string> name;
    std::unique_ptr<KernelFile> busyPercent;  // amdgpu
    std::unique_ptr<IntelGpuIdle> idle;       // i915, xe
    bool awake = false;                       // at this tick
    std::optional<int64_t> lastUtilization;
    std::optional<NvmlDevice> nvmlDevice;  // valid while the NVML session lasts
    bool askedNvmlName = false;
};

PciAcceleratorSource::PciAcceleratorSource(std::string root, std::shared_ptr<GpuReadSchedule> gpus,
                                           PciAcceleratorOptions options)
    : root_(std::move(root)), gpus_(std::move(gpus)), options_(std::move(options)) {}

PciAcceleratorSource::~PciAcceleratorSource() = default;

void PciAcceleratorSource::prepare() {
    release();
    std::vector<PciDisplayDevice> devices = findPciDisplayDevices(root_);
    if (devices.empty()) return;
    PciNames names(options_.pciIds);
    bool anyNvidia = false;
    for (PciDisplayDevice& device : devices) {
        auto card = std::make_unique<Card>();
        if (device.vendor != 0) {
            // The database is a text file anyone with root (or a package) may have edited.
            if (auto name = names.deviceName(device.vendor, device.device)) {
                card->name = printableText(productName(*name));
            }
        }
        std::string busy = device.directory + "/gpu_busy_percent";
        std::error_code error;
        if (device.driver == "amdgpu" && std::filesystem::exists(busy, error)) {
            card->statistics = Statistics::amdgpu;
            card->busyPercent = std::make_unique<KernelFile>(busy, kLargestAttribute);
        } else if (device.driver == "nvidia") {
            card->statistics = Statistics::nvml;
            anyNvidia = true;
        } else if (device.driver == "i915" || device.driver == "xe") {
            card->idle = IntelGpuIdle::find(device.directory);
            if (card->idle) card->statistics = Statistics::intelIdle;
        }
        card->pci = std::move(device);
        cards_.push_back(std::move(card));
    }
    // Opening the library touches no GPU; initialising it waits for an awake card.
    if (anyNvidia) nvml_ = NvmlLibrary::load(options_.nvmlLibrary);
    if (!nvml_) {
        for (auto& card : cards_) {
            if (card->statistics == Statistics::nvml) card->statistics = Statistics::none;
        }
    }
}

void PciAcceleratorSource::release() {
    cards_.clear();
    nvml_.reset();
    nvmlFailed_ = false;
}

std::vector<PropertyTable> PciAcceleratorSource::accelerators() {
    std::vector<PropertyTable> awake;
    std::vector<PropertyTable> asleep;
    for (auto& card : cards_) {
        std::optional<int64_t> busy = utilization(*card);
        PropertyTable table;
        if (!card->pci.driver.empty()) {
            table.insert_or_assign("IOClass", printableText(card->pci.driver));
        }
        if (card->name) table.insert_or_assign("model", PropertyData{*card->name});
        if (busy) {
            table.insert_or_assign("PerformanceStatistics",
                                   PropertyTable{{"Device Utilization %", *busy}});
        }
        (card->awake ? awake : asleep).push_back(std::move(table));
    }
    closeIdleNvmlSession();
    for (PropertyTable& table : asleep) awake.push_back(std::move(table));
    return awake;
}

std::optional<int64_t> PciAcceleratorSource::utilization(Card& card) {
    if (card.statistics == Statistics::none) {
        card.awake = deviceIsAwake(card.pci.directory);  // for its place in the order
        return std::nullopt;
    }
    card.awake = false;
    switch (gpus_->turn(card.pci.directory)) {
        case GpuReadSchedule::Turn::asleep:
            card.lastUtilization.reset();
            if (card.idle) card.idle->restart();
            return 0;
        case GpuReadSchedule::Turn::hold:
            card.awake = true;
            return card.lastUtilization;
        case GpuReadSchedule::Turn::read:
            card.awake = true;
            break;
    }
    std::optional<int64_t> reading;
    bool baseline = false;
    if (card.statistics == Statistics::amdgpu) {
        std::optional<std::string_view> text = card.busyPercent->read();
        if (text) reading = parseAttributeInteger(*text);
    } else if (card.statistics == Statistics::intelIdle) {
        baseline = !card.idle->hasBaseline();
        reading = card.idle->busyPercent(gpus_->clock()->secondsSinceBoot());
    } else {
        reading = readNvml(card);
    }
    if (reading) {
        card.lastUtilization = reading;
        gpus_->reportBusy(card.pci.directory, *reading > 0);
    } else if (card.statistics == Statistics::intelIdle) {
        // A first residency reading is only the baseline: the figure comes at the next tick,
        // not a whole autosuspend delay later. A counter that has not moved yet says nothing
        // of the load, and reading it every tick would keep the card from sleeping.
        gpus_->reportBusy(card.pci.directory, baseline);
    }
    return reading;
}

std::optional<int64_t> PciAcceleratorSource::readNvml(Card& card) {
    if (nvmlFailed_) return std::nullopt;
    if (!nvml_->initialize()) {
        nvmlFailed_ = true;
        return std::nullopt;
    }
    if (!card.nvmlDevice) card.nvmlDevice = nvml_->deviceByPciBusId(card.pci.slot);
    if (!card.nvmlDevice) return std::nullopt;
    if (!card.askedNvmlName) {
        card.askedNvmlName = true;
        if (auto name = nvml_->name(*card.nvmlDevice)) card.name = printableText(*name);
    }
    std::optional<unsigned> percent = nvml_->utilizationPercent(*card.nvmlDevice);
    if (!percent) return std::nullopt;
    return int64_t{*percent};
}

void PciAcceleratorSource::closeIdleNvmlSession() {
    if (!nvml_ || !nvml_->isInitialized()) return;
    // An open session keeps the driver attached to its cards; only a card that is awake
    // anyway (busy, or never allowed to sleep) justifies keeping it.
    bool needed = std::any_of(cards_.begin(), cards_.end(), [this](const auto& card) {
        return card->statistics == Statistics::nvml && card->awake &&
               gpus_->staysAwake(card->pci.directory);
    });
    if (needed) return;
    nvml_->shutdown();
    for (auto& card : cards_) card->nvmlDevice.reset();
}

}  // namespace glintdeck
