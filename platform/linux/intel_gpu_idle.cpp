#include "platform/linux/intel_gpu_idle.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "platform/linux/directory_entries.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {

std::unique_ptr<IntelGpuIdle> IntelGpuIdle::find(const std::string& deviceDirectory) {
    std::vector<std::string> candidates = {deviceDirectory + "/tile0/gt0/gtidle/idle_residency_ms"};
    // i915 keeps the counter under the card's DRM node, whose number follows probe order.
    for (const auto& entry : DirectoryEntries(deviceDirectory + "/drm")) {
        std::string name = entry.path().filename().string();
        if (!name.starts_with("card")) continue;
        candidates.push_back(entry.path().string() + "/gt/gt0/rc6_residency_ms");
        candidates.push_back(entry.path().string() + "/power/rc6_residency_ms");
    }
    for (const std::string& path : candidates) {
        std::error_code error;
        if (std::filesystem::exists(path, error)) return std::make_unique<IntelGpuIdle>(path);
    }
    return nullptr;
}

IntelGpuIdle::IntelGpuIdle(std::string residencyPath)
    : file_(std::move(residencyPath), kLargestAttribute) {}

std::optional<int64_t> IntelGpuIdle::busyPercent(double now) {
    std::optional<std::string_view> text = file_.read();
    std::optional<int64_t> idle = text ? parseAttributeInteger(*text) : std::nullopt;
    if (!idle) return std::nullopt;
    std::optional<Reading> previous = previous_;
    previous_ = Reading{*idle, now};
    if (!previous || now <= previous->at || *idle < previous->idleMilliseconds) {
        return std::nullopt;
    }
    counterMoved_ = counterMoved_ || *idle > previous->idleMilliseconds;
    if (!counterMoved_) return std::nullopt;
    return busyFromIdle(*idle - previous->idleMilliseconds, now - previous->at);
}

int64_t busyFromIdle(int64_t idleMilliseconds, double elapsedSeconds) {
    double idleShare = static_cast<double>(idleMilliseconds) / (elapsedSeconds * 1000);
    return std::clamp<int64_t>(std::llround((1 - idleShare) * 100), 0, 100);
}

}  // namespace glintdeck
