#include "samplers/gpu_sampler.h"

#include <algorithm>

namespace glintdeck {
namespace {

std::string_view trim(std::string_view text, std::string_view characters) {
    size_t first = text.find_first_not_of(characters);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(characters);
    return text.substr(first, last - first + 1);
}

std::optional<GPUSample> sampleFrom(const PropertyTable& accelerator) {
    const PropertyTable* statistics = tableAt(accelerator, "PerformanceStatistics");
    if (statistics == nullptr) return std::nullopt;
    std::optional<int64_t> utilization = integerAt(*statistics, "Device Utilization %");
    if (!utilization) utilization = integerAt(*statistics, "GPU Activity(%)");
    if (!utilization) return std::nullopt;

    GPUSample sample{
        .isAvailable = true,
        .utilizationPercent = static_cast<double>(std::clamp<int64_t>(*utilization, 0, 100)),
    };
    if (const PropertyData* model = dataAt(accelerator, "model")) {
        // A model that cleans up to nothing gives no name; "IOClass" is only for a missing one.
        sample.deviceName = modelName(model->bytes);
    } else if (const std::string* className = textAt(accelerator, "IOClass")) {
        sample.deviceName = *className;
    }
    return sample;
}

}  // namespace

std::optional<std::string> modelName(std::string_view bytes) {
    if (std::any_of(bytes.begin(), bytes.end(),
                    [](char byte) { return static_cast<unsigned char>(byte) > 0x7F; })) {
        return std::nullopt;
    }
    std::string_view name = trim(trim(bytes, std::string_view("\0", 1)), " \t");
    if (name.empty()) return std::nullopt;
    return std::string(name);
}

GPUSampler::GPUSampler(Executor& executor, double interval,
                       std::unique_ptr<AcceleratorSource> source, OnSample onSample)
    : PeriodicSampler(executor, "GPUSampler", interval, interval),
      source_(std::move(source)),
      onSample_(std::move(onSample)) {}

void GPUSampler::prepare() { source_->prepare(); }

void GPUSampler::release() { source_->release(); }

void GPUSampler::tick() {
    for (const PropertyTable& accelerator : source_->accelerators()) {
        if (std::optional<GPUSample> sample = sampleFrom(accelerator)) {
            onSample_(*sample);
            return;
        }
    }
    onSample_(GPUSample::empty());
}

}  // namespace glintdeck
