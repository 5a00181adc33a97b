#include "platform/linux/descriptor_limit.h"

#include <sys/resource.h>

#include <algorithm>

namespace glintdeck {
namespace {

constexpr uint64_t kMostKeptFiles = 16384;
constexpr uint64_t kLeastMargin = 256;
// Enough for the most kept files and their margin.
constexpr rlim_t kWantedDescriptors = 32768;

}  // namespace

void raiseDescriptorLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
    const rlim_t wanted = std::min(limit.rlim_max, kWantedDescriptors);
    if (limit.rlim_cur >= wanted) return;
    limit.rlim_cur = wanted;
    (void)setrlimit(RLIMIT_NOFILE, &limit);  // the old limit only keeps fewer files open
}

size_t keptFileLimitFor(uint64_t descriptorLimit) {
    const uint64_t margin = std::max(descriptorLimit / 4, kLeastMargin);
    if (descriptorLimit <= margin) return 0;
    return static_cast<size_t>(std::min(descriptorLimit - margin, kMostKeptFiles));
}

size_t currentKeptFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
    return keptFileLimitFor(limit.rlim_cur);  // RLIM_INFINITY is the largest number
}

}  // namespace glintdeck
