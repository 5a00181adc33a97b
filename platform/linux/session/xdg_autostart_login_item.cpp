#include "platform/linux/session/xdg_autostart_login_item.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/linux/session/autostart_entry.h"
#include "platform/linux/session/no_follow_file.h"

namespace glintdeck {
namespace {

// Far larger than any entry we write; one larger is not ours to parse.
constexpr size_t kLargestEntry = 64 << 10;
// Named after the application id the desktop portals know the program by.
constexpr char kEntryName[] = "org.glintdeck.Glintdeck.desktop";

bool isSymlink(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

LoginItem::Result resultOf(const std::string& path, int error) {
    if (error == 0) return {true, {}};
    return {false, describeNoFollowError(path, error)};
}

// A value of string type, escaped as the Desktop Entry specification says, so that no character
// of a path can end the line and start a key of its own.
std::string desktopEntryString(std::string_view text) {
    constexpr std::string_view kEscaped = "\\\n\t\r";
    constexpr std::string_view kEscapes = "\\ntr";  // the letter after the backslash of each
    std::string value;
    for (char c : text) {
        size_t escaped = kEscaped.find(c);
        if (escaped != std::string_view::npos) value += '\\';
        value += escaped == std::string_view::npos ? c : kEscapes[escaped];
    }
    return value;
}

}  // namespace

std::string desktopEntryExec(const std::string& program) {
    // Inside double quotes, ", `, $ and \ take a backslash; then the whole value is a string
    // whose own escape turns each backslash into two. '%' starts a field code, so it doubles.
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return desktopEntryString(quoted);
}

XdgAutostartLoginItem::XdgAutostartLoginItem(std::string program, std::string configHome)
    : program_(std::move(program)), configHome_(std::move(configHome)) {}

std::string XdgAutostartLoginItem::defaultConfigHome() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/') return configHome;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config";
}

std::string XdgAutostartLoginItem::runningProgram() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string XdgAutostartLoginItem::entryPath() const {
    return configHome_ + "/autostart/" + kEntryName;
}

LoginItem::Result XdgAutostartLoginItem::migrateLegacyEntry() {
    const std::string legacy = configHome_ + "/autostart/glintdeck.desktop";
    // A link at either name is the user's doing or a stranger's: it stays as it is, and the old
    // entry with it, since a link at the new name may point nowhere and start nothing.
    if (isSymlink(legacy)) return resultOf(legacy, ELOOP);
    // The rename writes the new entry and drops the old one in one step, never over an entry
    // of the new name.
    int error = renameAsideNoFollow(legacy, kEntryName);
    if (error == EEXIST) {
        if (isSymlink(entryPath())) return resultOf(entryPath(), ELOOP);
        // The new entry starts the program already; the old one would start it twice.
        error = removeNoFollow(legacy);
    }
    return resultOf(legacy, error == ENOENT ? 0 : error);
}

bool XdgAutostartLoginItem::isEnabled() const {
    // A link planted at the entry is not ours: it counts as off, and is never read.
    NoFollowRead entry = readNoFollow(entryPath(), kLargestEntry);
    return entry.status == NoFollowRead::Status::ok && autostartEntryEnabled(entry.text);
}

LoginItem::Result XdgAutostartLoginItem::enable() {
    if (program_.empty()) return {false, "the running program's path is unknown"};
    const std::string entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Glintdeck\n"
        "Comment=A glanceable HUD of live machine stats, summoned with a hotkey.\n"
        "Exec=" +
        desktopEntryExec(program_) + "\n" +
        // Once the program is gone (the package removed), desktops skip the entry.
        "TryExec=" + desktopEntryString(program_) + "\n" +
        "Icon=glintdeck\n"
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n";
    // Written atomically, so a crash never leaves half an entry for a session manager.
    return resultOf(entryPath(), replaceNoFollow(entryPath(), entry, 0644));
}

LoginItem::Result XdgAutostartLoginItem::addMissingTryExec() {
    NoFollowRead entry = readNoFollow(entryPath(), kLargestEntry);
    bool earlierEntryOfOurs = entry.status == NoFollowRead::Status::ok &&
                              autostartEntryEnabled(entry.text) &&
                              !desktopEntryValue(entry.text, "TryExec") &&
                              desktopEntryValue(entry.text, "Exec") == desktopEntryExec(program_);
    return earlierEntryOfOurs ? enable() : Result{true, {}};
}

LoginItem::Result XdgAutostartLoginItem::disable() {
    return resultOf(entryPath(), removeNoFollow(entryPath()));
}

}  // namespace glintdeck
