#include "platform/linux/energy_channels.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <map>
#include <string_view>

#include "platform/linux/directory_entries.h"
#include "platform/linux/gpu_energy_counters.h"
#include "platform/linux/hwmon_chips.h"
#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/kernel_file.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

std::optional<uint64_t> readCounter(KernelFile& file) {
    std::optional<std::string_view> text = file.read();
    if (!text) return std::nullopt;
    std::optional<int64_t> value = parseAttributeInteger(*text);
    if (!value || *value < 0) return std::nullopt;
    return static_cast<uint64_t>(*value);
}

EnergyChannel makeChannel(std::string name, std::unique_ptr<EnergyCounter> counter) {
    return {.name = std::move(name), .unit = "uJ", .counter = std::move(counter)};
}

struct RaplZone {
    std::string name;  // "package-0", "core", "uncore", "dram", "psys"
    std::string energyPath;
    uint64_t range = 0;
    bool readable = false;
    std::vector<RaplZone> subzones;
};

// "intel-rapl:0" is package zone 0 and "intel-rapl:0:1" its subzone 1; anything else
// (intel-rapl-mmio:0 repeats package 0 through another interface) is not ours.
std::optional<std::vector<int>> raplAddress(std::string_view entry) {
    constexpr std::string_view kPrefix = "intel-rapl:";
    if (!entry.starts_with(kPrefix)) return std::nullopt;
    entry.remove_prefix(kPrefix.size());
    std::vector<int> address;
    while (true) {
        int number = 0;
        auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), number);
        if (error != std::errc{}) return std::nullopt;
        address.push_back(number);
        entry.remove_prefix(static_cast<size_t>(end - entry.data()));
        if (entry.empty()) break;
        if (entry.front() != ':') return std::nullopt;
        entry.remove_prefix(1);
    }
    if (address.size() > 2) return std::nullopt;
    return address;
}

std::vector<RaplZone> listRaplZones(const std::string& root) {
    std::map<std::vector<int>, fs::path> entries;
    for (const auto& entry : DirectoryEntries(root + "/sys/class/powercap")) {
        if (auto address = raplAddress(entry.path().filename().string())) {
            entries.emplace(*address, entry.path());
        }
    }
    std::map<int, RaplZone> packages;
    for (const auto& [address, path] : entries) {  // packages sort before their subzones
        RaplZone zone{.name = readAttribute((path / "name").string()).value_or(""),
                      .energyPath = (path / "energy_uj").string()};
        zone.range = static_cast<uint64_t>(std::max<int64_t>(
            0, readAttributeInteger((path / "max_energy_range_uj").string()).value_or(0)));
        zone.readable = readAttributeInteger(zone.energyPath).has_value();
        if (address.size() == 1) {
            packages[address[0]] = std::move(zone);
        } else if (auto parent = packages.find(address[0]); parent != packages.end()) {
            parent->second.subzones.push_back(std::move(zone));
        }
    }
    std::vector<RaplZone> zones;
    zones.reserve(packages.size());
    for (auto& [index, zone] : packages) zones.push_back(std::move(zone));
    return zones;
}

// Whether the processor is AMD's: the vendor_id line of /proc/cpuinfo, in its first page.
bool isAmdProcessor(const std::string& root) {
    const auto cpuinfo = readKernelFileOnce(root + "/proc/cpuinfo", kLargestAttribute);
    std::string_view rest = cpuinfo ? std::string_view(*cpuinfo) : std::string_view();
    for (int lines = 0; lines < 8 && !rest.empty(); ++lines) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        if (line.starts_with("vendor_id")) return line.ends_with("AuthenticAMD");
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

void addRaplChannels(const std::string& root, std::vector<EnergyChannel>& channels) {
    auto add = [&](const std::string& name, const RaplZone& zone) {
        channels.push_back(
            makeChannel(name, std::make_unique<RaplEnergyCounter>(zone.energyPath, zone.range)));
    };
    // AMD's core zone is one core's counter: the kernel reads a per-core register on whichever
    // processor serves the read. Only the package stands for the whole processor there.
    bool coreZoneIsWholeProcessor = !isAmdProcessor(root);
    for (const RaplZone& package : listRaplZones(root)) {
        // psys (the whole platform) overlaps everything else and is not a domain of ours.
        if (package.name == "dram" && package.readable) add("DRAM Energy", package);
        if (!package.name.starts_with("package")) continue;
        bool hasCore = false;
        for (const RaplZone& zone : package.subzones) {
            if (!zone.readable) continue;
            if (zone.name == "core" && coreZoneIsWholeProcessor) {
                add("CPU Energy", zone);
                hasCore = true;
            } else if (zone.name == "uncore") {
                add("GPU Energy", zone);
            } else if (zone.name == "dram") {
                add("DRAM Energy", zone);
            }
        }
        if (!hasCore && package.readable) add("CPU Energy", package);
    }
}

using Labelled = std::pair<HwmonAttribute, std::string>;  // an input and its lowered label

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// An APU's graphics: its power reading is the whole package's, processor included (the
// kernel's amdgpu documentation), and its in1 is the northbridge voltage only APUs report.
bool isIntegratedAmdgpu(const HwmonChip& chip) {
    if (chip.name != "amdgpu") return false;
    std::error_code error;
    return std::filesystem::exists(chip.directory + "/in1_input", error) ||
           readAttribute(chip.directory + "/power1_label") == "slowPPT";
}

// A GPU's channel: its energy counter (the "card" input where it has several), else its power
// reading integrated over time; read as the card's schedule allows.
void addGpuChannel(const HwmonChip& chip, const std::vector<Labelled>& labelled,
                   const std::shared_ptr<GpuReadSchedule>& gpus,
                   std::vector<EnergyChannel>& channels) {
    std::unique_ptr<EnergyCounter> counter;
    if (!labelled.empty()) {
        auto card = std::find_if(labelled.begin(), labelled.end(),
                                 [](const auto& l) { return l.second == "card"; });
        const HwmonAttribute& input = card != labelled.end() ? card->first : labelled.front().first;
        counter = std::make_unique<HwmonEnergyCounter>(input.path);
    } else if (!isIntegratedAmdgpu(chip)) {
        for (const char* suffix : {"_average", "_input"}) {
            std::vector<HwmonAttribute> power = findHwmonAttributes(chip, "power", suffix);
            if (power.empty()) continue;
            counter = std::make_unique<PowerIntegratingCounter>(power.front().path, gpus->clock());
            break;
        }
    }
    if (!counter) return;
    if (chip.isGpu) {
        counter = std::make_unique<ScheduledEnergyCounter>(std::move(counter), gpus,
                                                           chip.deviceDirectory);
    }
    channels.push_back(makeChannel("GPU Energy", std::move(counter)));
}

void addHwmonChannels(const std::string& root, bool wantCPU,
                      const std::shared_ptr<GpuReadSchedule>& gpus,
                      std::vector<EnergyChannel>& channels) {
    for (const HwmonChip& chip : listHwmonChips(root)) {
        std::vector<Labelled> labelled;
        for (HwmonAttribute& input : findHwmonAttributes(chip, "energy", "_input")) {
            std::string label =
                lowered(readAttribute(siblingAttribute(input, "_label")).value_or(""));
            labelled.emplace_back(std::move(input), std::move(label));
        }
        if (chip.isGpu || chipRole(chip.name, "") == "GPU") {
            addGpuChannel(chip, labelled, gpus, channels);
            continue;
        }
        if (labelled.empty()) continue;
        auto add = [&](const std::string& name, const HwmonAttribute& input) {
            channels.push_back(makeChannel(name, std::make_unique<HwmonEnergyCounter>(input.path)));
        };
        if (!wantCPU) continue;
        auto isPackage = [](const std::string& label) {
            return label.find("package") != std::string::npos ||
                   label.find("socket") != std::string::npos ||
                   label.find("pkg") != std::string::npos;
        };
        bool hasPackage = std::any_of(labelled.begin(), labelled.end(),
                                      [&](const auto& l) { return isPackage(l.second); });
        for (const auto& [input, label] : labelled) {
            bool isCore = label.find("core") != std::string::npos;
            if (hasPackage ? isPackage(label) : isCore) add("CPU Energy", input);
        }
    }
}

}  // namespace

RaplEnergyCounter::RaplEnergyCounter(const std::string& energyPath, uint64_t range)
    : file_(energyPath, kLargestAttribute), range_(range) {}

std::optional<uint64_t> RaplEnergyCounter::read() { return readCounter(file_); }

uint64_t RaplEnergyCounter::delta(uint64_t older, uint64_t newer) const {
    if (newer >= older) return newer - older;
    // Went round once; a reading past the stated range means we cannot tell how far.
    if (older > range_) return 0;
    return range_ - older + newer;
}

HwmonEnergyCounter::HwmonEnergyCounter(const std::string& path) : file_(path, kLargestAttribute) {}

std::optional<uint64_t> HwmonEnergyCounter::read() { return readCounter(file_); }

std::vector<EnergyChannel> linuxEnergyChannels(const std::string& root,
                                               const std::shared_ptr<GpuReadSchedule>& gpus) {
    std::vector<EnergyChannel> channels;
    addRaplChannels(root, channels);
    bool raplHasCPU = std::any_of(channels.begin(), channels.end(),
                                  [](const EnergyChannel& c) { return c.name == "CPU Energy"; });
    addHwmonChannels(root, !raplHasCPU, gpus, channels);
    return channels;
}

}  // namespace glintdeck
