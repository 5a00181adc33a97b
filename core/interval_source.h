#pragma once

namespace glintdeck {

// Where the store reads the sampling interval (seconds) each time it starts; the application
// passes its settings.
class IntervalSource {
  public:
    virtual ~IntervalSource() = default;
    [[nodiscard]] virtual double interval() const = 0;
};

}  // namespace glintdeck
