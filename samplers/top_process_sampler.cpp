#include "samplers/top_process_sampler.h"

#include <algorithm>

namespace glintdeck {
namespace {

constexpr double kShortestPeriod = 2.0;
// The first sample of a run covers this long, as soon as possible after the strip appears.
constexpr double kFirstMeasurement = 1.0;

}  // namespace

TopProcessSampler::TopProcessSampler(Executor& executor, double interval,
                                     std::unique_ptr<ProcessTableSource> source, OnSample onSample)
    : PeriodicSampler(executor, "TopProcessSampler", interval, std::max(interval, kShortestPeriod)),
      source_(std::move(source)),
      onSample_(std::move(onSample)) {}

void TopProcessSampler::start() {
    cancelled_ = false;
    PeriodicSampler::start();
}

void TopProcessSampler::stop() {
    cancelled_ = true;
    PeriodicSampler::stop();
}

void TopProcessSampler::prepare() {
    ++run_;
    source_->reset();
}

void TopProcessSampler::release() {
    ++run_;
    source_->reset();
}

void TopProcessSampler::tick() { scanAndDeliver(); }

void TopProcessSampler::measureAfterBaseline(uint64_t run) {
    if (run == run_) scanAndDeliver();
}

void TopProcessSampler::scanAndDeliver() {
    if (cancelled_) return;
    switch (source_->scan(rows_)) {
        case ScanResult::unreadable:
            return;
        case ScanResult::baseline:
            queue().asyncAfter(kFirstMeasurement, [weak = weak_from_this(), run = run_] {
                if (auto self = weak.lock()) {
                    static_cast<TopProcessSampler&>(*self).measureAfterBaseline(run);
                }
            });
            return;
        case ScanResult::measured:
            break;
    }
    if (rows_.empty()) return;
    TopProcessesSample sample = aggregator_.aggregate(rows_, *source_);
    if (!cancelled_) onSample_(sample);
}

}  // namespace glintdeck
