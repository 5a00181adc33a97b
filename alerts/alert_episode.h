#pragma once

#include <optional>

namespace glintdeck {

// How long a watch's condition must hold before it counts, how long it must be clear before an
// episode ends, and how long after a notification a new episode of the same watch stays silent.
// In seconds.
struct EpisodeTimes {
    double holdFor = 30;
    double clearFor = 60;
    double quietFor = 30 * 60;
};

// One watch's episodes, fed one reading at a time with the time it was taken (a monotonic clock
// in seconds). A condition that has held for holdFor starts an episode, which is told once:
// at once, or, while the strip shows, once it hides, if the episode still lasts then. An episode
// that starts within quietFor of the last notification stays silent. It ends when the condition
// has been clear for clearFor. A gap between readings longer than clearFor (a suspend, a watch
// switched off and on) tells nothing of the time between: the hold starts again.
class AlertEpisode final {
  public:
    explicit AlertEpisode(EpisodeTimes times) : times_(times) {}

    // Whether the user should be told now.
    [[nodiscard]] bool update(bool holding, double now, bool stripShown);

  private:
    EpisodeTimes times_;
    std::optional<double> lastReading_;
    std::optional<double> heldSince_;
    std::optional<double> clearSince_;
    bool inEpisode_ = false;
    bool told_ = false;  // this episode was told, or is silent
    std::optional<double> lastTold_;
};

}  // namespace glintdeck
