#include "alerts/alert_episode.h"

namespace glintdeck {

bool AlertEpisode::update(bool holding, double now, bool stripShown) {
    if (lastReading_ && now - *lastReading_ > times_.clearFor) heldSince_.reset();
    lastReading_ = now;
    if (!holding) {
        heldSince_.reset();
        if (!clearSince_) clearSince_ = now;
        if (inEpisode_ && now - *clearSince_ >= times_.clearFor) inEpisode_ = false;
        return false;
    }
    clearSince_.reset();
    if (!heldSince_) heldSince_ = now;
    if (!inEpisode_ && now - *heldSince_ >= times_.holdFor) {
        inEpisode_ = true;
        told_ = lastTold_ && now - *lastTold_ < times_.quietFor;
    }
    if (!inEpisode_ || told_ || stripShown) return false;
    told_ = true;
    lastTold_ = now;
    return true;
}

}  // namespace glintdeck
