// The attributes of /sys/class/power_supply as the battery sampler meets them: each battery's
// files parsed as the reader parses them every tick, described as one power source over three
// ticks, and turned into battery samples. The input holds one attribute a line, "name value"
// ("energy_now 41000000", "status Charging", "online 1"); a line "---" starts the next battery.

#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/linux/power_source_description.h"
#include "platform/linux/power_supply_reader.h"
#include "platform/linux/sysfs_attribute.h"
#include "samplers/battery_sampler.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

PowerSupplyReading readingOf(std::string_view text) {
    PowerSupplyReading reading;
    reading.batteries.emplace_back();
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line == "---") {
            if (reading.batteries.size() < 4) reading.batteries.emplace_back();
            continue;
        }
        size_t space = line.find(' ');
        if (space == std::string_view::npos) continue;
        std::string_view name = line.substr(0, space);
        std::string_view value = line.substr(space + 1);
        BatteryReading& battery = reading.batteries.back();
        if (name == "status") battery.status = trimAttribute(value);
        if (name == "online" && parseAttributeInteger(value).value_or(0) > 0) {
            reading.onLinePower = true;
        }
        for (const BatteryNumberAttribute& attribute : batteryNumberAttributes()) {
            if (name == attribute.name) battery.*attribute.field = parseAttributeInteger(value);
        }
    }
    return reading;
}

class ReplayedSource final : public PowerSource {
  public:
    explicit ReplayedSource(PowerSupplyReading reading) : reading_(std::move(reading)) {}
    PowerSourceReading read() override {
        now_ += 10;
        return describer_.describe(reading_, now_);
    }

  private:
    PowerSupplyReading reading_;
    PowerSourceDescriber describer_;
    double now_ = 0;
};

}  // namespace
}  // namespace glintdeck

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    ManualExecutor executor;
    int samples = 0;
    auto sampler = std::make_shared<BatterySampler>(
        executor, 1.0, std::make_unique<ReplayedSource>(readingOf(textOf(data, size))),
        [&samples](const BatterySample& sample) {
            require(sample.isPresent);
            ++samples;
        });
    sampler->start();
    executor.runUntilIdle();
    executor.advance(2);
    sampler->stop();
    require(samples == 3);
    return 0;
}
