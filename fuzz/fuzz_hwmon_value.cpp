// One hwmon attribute's text, read as each consumer reads it every tick: as a fan speed and as
// system power through the controller connection and the SMC client, and as a temperature.
// The text sits in a memory file that the readers open by path, as they open sysfs files.

#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/linux/hwmon_smc_connection.h"
#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

struct Readers {
    Readers() : file(memfd_create("hwmon-attribute", MFD_CLOEXEC)) {
        std::string path = "/proc/self/fd/" + std::to_string(file);
        std::map<std::string, HwmonSmcValue> keys;
        keys.emplace("F0Ac", HwmonSmcValue{.file = std::make_unique<KernelFile>(path)});
        keys.emplace("PSTR",
                     HwmonSmcValue{.file = std::make_unique<KernelFile>(path), .scale = 1e6});
        keys.emplace("FNum", HwmonSmcValue{.constant = 1});
        smc = std::make_unique<SMC>(std::make_unique<HwmonSmcConnection>(std::move(keys)));
        temperature = std::make_unique<LinuxTemperatureSensor>(
            std::vector{LinuxTemperatureInput{.product = "coretemp Core 0", .path = path}},
            nullptr);
    }

    int file;
    std::unique_ptr<SMC> smc;
    std::unique_ptr<LinuxTemperatureSensor> temperature;
};

}  // namespace
}  // namespace glintdeck

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    static Readers readers;
    require(readers.file >= 0);
    require(ftruncate(readers.file, 0) == 0);
    require(pwrite(readers.file, data, size, 0) == static_cast<ssize_t>(size));

    std::string_view text = textOf(data, size);
    std::optional<int64_t> number = parseAttributeInteger(text);

    std::optional<double> rpm = readers.smc->read("F0Ac");
    require(rpm.has_value() == number.has_value());
    (void)readers.smc->read("PSTR");
    require(readers.smc->read("FNum") == 1.0);
    if (std::optional<double> celsius = readers.temperature->temperature()) {
        require(!std::isnan(*celsius));
    }
    return 0;
}
