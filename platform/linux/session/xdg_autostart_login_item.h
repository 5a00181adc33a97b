#pragma once

#include <string>

#include "settings/login_item.h"

namespace glintdeck {

// The XDG autostart entry $XDG_CONFIG_HOME/autostart/org.glintdeck.Glintdeck.desktop (~/.config
// when the variable is unset or relative), named after the application id the desktop portals
// know the program by. Enabled means the file exists and a desktop would start it
// (autostart_entry.h). Written atomically, so a crash never leaves half an entry that a session
// manager would choke on; a symbolic link at the entry is never read, written or removed.
class XdgAutostartLoginItem final : public LoginItem {
  public:
    // program: the absolute path written to Exec= and TryExec=; configHome: the XDG config
    // folder.
    XdgAutostartLoginItem(std::string program, std::string configHome);

    // For the current user and the running program.
    [[nodiscard]] static std::string defaultConfigHome();
    [[nodiscard]] static std::string runningProgram();

    [[nodiscard]] bool isEnabled() const override;
    [[nodiscard]] Result enable() override;
    [[nodiscard]] Result disable() override;

    // Earlier versions wrote autostart/glintdeck.desktop: moves such an entry to the current name
    // (Hidden= and all, as the desktop or the user left it), or removes it where an entry of the
    // current name exists already, so the program is never started twice at login. Nothing to
    // move is success. A symbolic link at either name is a failure that leaves both names as
    // they are: the old entry goes only once the new one stands in its place.
    [[nodiscard]] Result migrateLegacyEntry();

    // Earlier versions wrote no TryExec=, so desktops kept starting their entry after the
    // program was removed: an enabled entry of this program without one is written again as
    // enable() writes it (keys the user added to it go). Anything else is left as it is;
    // nothing to do is success.
    [[nodiscard]] Result addMissingTryExec();

    [[nodiscard]] std::string entryPath() const;

  private:
    std::string program_;
    std::string configHome_;
};

// The Exec= value for a program path, quoted and escaped as the Desktop Entry specification
// requires (a path with spaces, quotes, '$' or '%' stays one argument).
[[nodiscard]] std::string desktopEntryExec(const std::string& program);

}  // namespace glintdeck
