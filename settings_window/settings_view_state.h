#pragma once

#include <optional>

#include "core/stat_kind.h"
#include "settings_window/settings_pane.h"

namespace glintdeck {

// What the settings view shows beyond the settings themselves, so that a window built again
// after the last one was let go comes back as it was left. The pane's own fields are those of
// the pane that was shown; another pane starts afresh when it is selected, as it always does.
// The panel pane keeps nothing (its switch reads the login item each time), nor does the About
// pane (its confirmation is modal to the window, so the window cannot close under it).
struct SettingsViewState {
    std::optional<SettingsPane> selection = SettingsPane::stats;
    // The stats pane: the selected stat, and the list's first row shown.
    std::optional<StatKind> selectedStat;
    int statListScroll = 0;
    // The appearance pane: whether "Customize…" is open.
    bool customizeOpen = false;
};

}  // namespace glintdeck
