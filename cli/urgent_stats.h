#pragma once

#include <vector>

#include "core/samples.h"
#include "core/stat_kind.h"

namespace glintdeck {

// The stats that ask the user to act now, which a status bar marks urgent: a battery running
// out (10 % or less, neither charging nor on mains power), a machine too hot (serious or
// critical thermal state, where it slows itself down), and a root file system nearly full (less
// than 5 % of it free to write). A busy processor or a full memory is the machine at work: it
// shows in the stat's colour, never as an alarm.
[[nodiscard]] std::vector<StatKind> urgentStats(const BatterySample& battery,
                                                const TemperatureSample& temps,
                                                const DiskSample& disk);

}  // namespace glintdeck
