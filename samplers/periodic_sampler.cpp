#include "samplers/periodic_sampler.h"

namespace glintdeck {

PeriodicSampler::PeriodicSampler(Executor& executor, const std::string& className, double interval,
                                 double period)
    : interval_(interval), period_(period), queue_(executor.makeQueue("Glintdeck." + className)) {}

PeriodicSampler::~PeriodicSampler() {
    if (timer_) timer_->cancel();
}

void PeriodicSampler::start() {
    timer_ = queue_->scheduleRepeating(period_, [weak = weak_from_this()] {
        if (auto self = weak.lock()) self->runTick();
    });
}

void PeriodicSampler::stop() {
    if (!timer_) return;
    timer_->cancel();
    timer_.reset();
    queue_->async([weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->release();
            self->prepared_ = false;
        }
    });
}

void PeriodicSampler::runTick() {
    if (!prepared_) {
        prepare();
        prepared_ = true;
    }
    tick();
}

}  // namespace glintdeck
