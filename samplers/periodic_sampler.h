#pragma once

#include <memory>
#include <string>

#include "core/sampler.h"
#include "samplers/executor.h"

namespace glintdeck {

// The shape every sampler shares: one serial queue and one repeating timer whose first tick runs
// at once and then every period. The timer holds the sampler weakly, and a running tick holds it
// strongly until it returns, so the last reference may drop on any thread. Subclasses read their
// source in tick() and deliver on the queue; platform discovery goes in prepare(), which runs on
// the queue before the first tick of every start, never on the main thread.
class PeriodicSampler : public Sampler, public std::enable_shared_from_this<PeriodicSampler> {
  public:
    ~PeriodicSampler() override;

    void start() override;
    void stop() override;

    [[nodiscard]] double interval() const { return interval_; }
    [[nodiscard]] const std::string& label() const { return queue_->label(); }

  protected:
    // Construction reads nothing from the platform.
    PeriodicSampler(Executor& executor, const std::string& className, double interval,
                    double period);

    virtual void tick() = 0;
    virtual void prepare() {}
    // Runs on the queue after stop(), so it never races a tick that was still running.
    virtual void release() {}

    [[nodiscard]] SerialQueue& queue() { return *queue_; }

  private:
    void runTick();

    double interval_;
    double period_;
    std::shared_ptr<SerialQueue> queue_;
    std::unique_ptr<RepeatingTimer> timer_;
    bool prepared_ = false;  // touched on the queue only
};

}  // namespace glintdeck
