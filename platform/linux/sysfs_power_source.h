#pragma once

#include <memory>
#include <string>

#include "core/clock.h"
#include "platform/linux/power_source_description.h"
#include "platform/linux/power_supply_reader.h"
#include "samplers/battery_sampler.h"

namespace glintdeck {

// The battery sampler's power source on Linux: the batteries and line-power supplies of
// root/sys/class/power_supply, found once in prepare() and read every tick.
class SysfsPowerSource final : public PowerSource {
  public:
    SysfsPowerSource(std::string root, std::shared_ptr<const Clock> clock);

    void prepare() override;
    [[nodiscard]] PowerSourceReading read() override;

  private:
    PowerSupplyReader reader_;
    PowerSourceDescriber describer_;
    std::shared_ptr<const Clock> clock_;
};

}  // namespace glintdeck
