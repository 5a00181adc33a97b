#pragma once

namespace glintdeck {

// What the store needs of a sampler: start and stop, both called on the main thread.
// start() is never called on a sampler that is already started. stop() never waits for a tick
// in flight; such a tick may still deliver one sample afterwards.
class Sampler {
  public:
    virtual ~Sampler() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
};

}  // namespace glintdeck
