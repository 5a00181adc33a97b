#include "app/launch_options.h"

namespace glintdeck {

LaunchRequest parseLaunchArguments(std::span<const std::string_view> arguments) {
    LaunchRequest request;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if ((argument == "-session" || argument == "--session") && i + 1 < arguments.size()) {
            ++i;  // a session manager restoring the session; Qt reads it
        } else if (argument == "--help" || argument == "-h") {
            request.action = LaunchRequest::Action::help;
        } else if (argument == "--version") {
            if (request.action != LaunchRequest::Action::help) {
                request.action = LaunchRequest::Action::version;
            }
        } else {
            return {LaunchRequest::Action::refuse,
                    "unknown option '" + std::string(argument) + "' (glintdeck --help lists them)"};
        }
    }
    return request;
}

std::string_view hudHelpText() {
    return "usage: glintdeck [--help | --version]\n"
           "\n"
           "Glintdeck is a glanceable HUD of live machine stats: processor, memory, disk,\n"
           "network, battery, GPU, fans, power, temperatures, load average and uptime. It runs\n"
           "in the background for the whole login session; a key pops up a strip of stat tiles\n"
           "without taking the focus, and the same key hides it. In a Wayland session the strip\n"
           "takes the keyboard, so that Esc reaches it, and hides when the keyboard moves on.\n"
           "Launching glintdeck while it runs toggles the strip of the running one.\n"
           "\n"
           "Keys (the defaults; the settings window records others):\n"
           "  Ctrl+Alt+Super+Q   show or hide the strip, from any program\n"
           "  Ctrl+Alt+Super+P   Keep on Screen on or off, while the strip shows\n"
           "  Esc                hide the strip\n"
           "  Super+comma        the settings window, while the strip shows\n"
           "Click a tile for its card; right-click the strip for Keep on Screen, Reset Position,\n"
           "Settings... and Quit Glintdeck. In a Wayland session the desktop binds the keys\n"
           "(through its portal, or your own binding of the command glintdeck).\n"
           "\n"
           "Settings: $XDG_CONFIG_HOME/glintdeck/defaults.json (~/.config/glintdeck/...);\n"
           "launch at login: $XDG_CONFIG_HOME/autostart/org.glintdeck.Glintdeck.desktop.\n"
           "glintdeck-stats prints the same stats in a terminal or a status bar.\n"
           "\n"
           "  --help     show this help\n"
           "  --version  show the version\n";
}

std::string_view hudVersionText() { return "glintdeck " GLINTDECK_VERSION "\n"; }

}  // namespace glintdeck
