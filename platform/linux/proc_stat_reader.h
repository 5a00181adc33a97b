#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/kernel_file.h"
#include "samplers/cpu_sampler.h"

namespace glintdeck {

// The aggregate "cpu" line of /proc/stat, in USER_HZ ticks (proc(5)). Fields a kernel does not
// print (steal before 2.6.11, and so on) read 0.
struct ProcStatCPU {
    uint64_t user = 0;  // includes guest time
    uint64_t nice = 0;  // includes guest_nice time
    uint64_t system = 0;
    uint64_t idle = 0;
    uint64_t iowait = 0;
    uint64_t irq = 0;
    uint64_t softirq = 0;
    uint64_t steal = 0;
    bool operator==(const ProcStatCPU&) const = default;
};

[[nodiscard]] std::optional<ProcStatCPU> parseProcStatCPU(std::string_view text);

// Folds the kernel's eight counters into user, system, idle and nice: iowait is idle time; irq,
// softirq and steal are busy time the processor did not give to processes (steal: a hypervisor
// ran someone else, which htop and top also count as busy). Truncated to 32 bits, which the
// sampler's modulo-2^32 deltas expect.
[[nodiscard]] CPUTicks toCPUTicks(const ProcStatCPU& counters);

class ProcStatReader final : public CPULoadSource {
  public:
    explicit ProcStatReader(const std::string& root);
    [[nodiscard]] std::optional<CPUTicks> read() override;

  private:
    KernelFile file_;
};

}  // namespace glintdeck
