// plain_reader: the floor of background sampling — one thread that, once a second, reads every
// kernel source the background samplers read, the plain way (open, read, close; statvfs;
// getifaddrs), and does nothing with the text. bench/run measures it beside our program so the
// distance from the floor can be quoted.
//
//   plain_reader [--interval SECONDS]
#include <dirent.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Entries of a folder whose names start with a prefix, as full paths.
std::vector<std::string> entries(const std::string& folder, std::string_view prefix) {
    std::vector<std::string> found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string_view name = entry->d_name;
            if (name.substr(0, prefix.size()) == prefix && name != "." && name != "..")
                found.push_back(folder + "/" + std::string(name));
        }
        closedir(dir);
    }
    return found;
}

bool readable(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

// Every file a tick of the eleven background samplers reads, found once at start.
std::vector<std::string> sources() {
    std::vector<std::string> files = {"/proc/stat",      "/proc/loadavg", "/proc/meminfo",
                                      "/proc/diskstats", "/proc/net/dev", "/proc/net/route"};
    for (const auto& zram : entries("/sys/block", "zram")) files.push_back(zram + "/mm_stat");
    for (const auto& supply : entries("/sys/class/power_supply", "")) {
        for (const char* name :
             {"/type", "/online", "/status", "/capacity", "/energy_now", "/energy_full",
              "/charge_now", "/charge_full", "/power_now", "/current_now", "/voltage_now", "/temp"})
            files.push_back(supply + name);
    }
    for (const auto& chip : entries("/sys/class/hwmon", "hwmon")) {
        for (const auto& file : entries(chip, "")) {
            std::string_view name(file);
            name.remove_prefix(chip.size() + 1);
            bool input = name.ends_with("_input") || name == "power1_average";
            if (input && (name.starts_with("fan") || name.starts_with("temp") ||
                          name.starts_with("power") || name.starts_with("energy")))
                files.push_back(file);
        }
    }
    for (const auto& zone : entries("/sys/class/thermal", "thermal_zone"))
        files.push_back(zone + "/temp");
    for (const auto& device : entries("/sys/class/thermal", "cooling_device"))
        files.push_back(device + "/cur_state");
    for (const auto& zone : entries("/sys/class/powercap", "intel-rapl"))
        files.push_back(zone + "/energy_uj");
    for (const auto& card : entries("/sys/class/drm", "card")) {
        files.push_back(card + "/device/power/runtime_status");
        files.push_back(card + "/device/gpu_busy_percent");
    }
    std::erase_if(files, [](const std::string& path) { return !readable(path); });
    return files;
}

void readOnce(const std::vector<std::string>& files) {
    static std::array<char, 16384> buffer;
    for (const auto& path : files) {
        int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        while (read(fd, buffer.data(), buffer.size()) > 0) {
        }
        close(fd);
    }
    struct statvfs space {};
    statvfs("/", &space);
    ifaddrs* addresses = nullptr;
    if (getifaddrs(&addresses) == 0) freeifaddrs(addresses);
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
}

}  // namespace

int main(int argc, char** argv) {
    double interval = 1.0;
    if (argc == 3 && std::string_view(argv[1]) == "--interval") interval = std::atof(argv[2]);
    if (interval <= 0) return 2;
    const std::vector<std::string> files = sources();
    auto period = static_cast<long>(interval * 1e9);
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (;;) {
        readOnce(files);
        next.tv_nsec += period;
        next.tv_sec += next.tv_nsec / 1'000'000'000;
        next.tv_nsec %= 1'000'000'000;
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
}
