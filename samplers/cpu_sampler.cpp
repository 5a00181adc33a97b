#include "samplers/cpu_sampler.h"

namespace glintdeck {

CPUSampler::CPUSampler(Executor& executor, double interval, std::unique_ptr<CPULoadSource> source,
                       OnSample onSample)
    : PeriodicSampler(executor, "CPUSampler", interval, interval),
      source_(std::move(source)),
      onSample_(std::move(onSample)) {}

void CPUSampler::tick() {
    std::optional<CPUTicks> current = source_->read();
    if (!current) return;
    if (previous_) {
        // Unsigned subtraction is modulo 2^32: a wrapped counter gives its true delta.
        auto delta = [](uint32_t now, uint32_t before) {
            return static_cast<double>(now - before);
        };
        double user = delta(current->user, previous_->user);
        double system = delta(current->system, previous_->system);
        double idle = delta(current->idle, previous_->idle);
        double nice = delta(current->nice, previous_->nice);
        double total = user + system + idle + nice;
        if (total > 0) {
            onSample_(CPUSample{
                .totalUsagePercent = (user + system + nice) / total * 100,
                .userPercent = user / total * 100,
                .systemPercent = system / total * 100,
                .idlePercent = idle / total * 100,
            });
        }
    }
    previous_ = current;
}

}  // namespace glintdeck
