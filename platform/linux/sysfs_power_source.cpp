#include "platform/linux/sysfs_power_source.h"

namespace glintdeck {

SysfsPowerSource::SysfsPowerSource(std::string root, std::shared_ptr<const Clock> clock)
    : reader_(std::move(root)), clock_(std::move(clock)) {}

void SysfsPowerSource::prepare() { reader_.discover(); }

PowerSourceReading SysfsPowerSource::read() {
    // Time since boot keeps counting across a suspend, so the rate average ages by the
    // time the machine really spent asleep.
    return describer_.describe(reader_.read(), clock_->secondsSinceBoot());
}

}  // namespace glintdeck
