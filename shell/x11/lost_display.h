#pragma once

namespace glintdeck {

// When the X server goes away under the program, Qt's xcb backend warns about it and calls
// exit(1) from inside the event loop. exit() would run the static destructors of Qt and of its
// font libraries while the sampler threads still run, and report Qt's font state as leaked.
// Installed once after the application object exists, this ends the process at once instead,
// right after that warning: nothing is lost (preferences are written as they change; windows and
// key grabs went with the server), and the exit status stays 1.
void leaveAtOnceWhenTheDisplayIsLost();

}  // namespace glintdeck
