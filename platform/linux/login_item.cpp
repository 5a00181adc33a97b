#include "platform/linux/login_item.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace glintdeck {
namespace {

std::string errorText(int error) { return std::strerror(error); }

// Writes the whole text to a temporary file beside path, flushes it to disk and renames it over
// path.
LoginItem::Result writeAtomically(const std::string& path, const std::string& text) {
    std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return {false, temporary + ": " + errorText(errno)};
    size_t written = 0;
    while (written < text.size()) {
        ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        written += static_cast<size_t>(count);
    }
    int error = written == text.size() ? 0 : errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    ::close(fd);
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return {false, path + ": " + errorText(error)};
    }
    return {true, {}};
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
    std::string value;
    for (char c : quoted) {
        if (c == '\\') value += '\\';
        value += c;
    }
    return value;
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
    return configHome_ + "/autostart/org.glintdeck.Glintdeck.desktop";
}

LoginItem::Result XdgAutostartLoginItem::migrateLegacyEntry() {
    const std::string legacy = configHome_ + "/autostart/glintdeck.desktop";
    // Both act on the directory entry itself: a symlink moves or goes as a link, nothing is
    // written through it, and an entry of the current name is never replaced.
    int outcome =
        ::renameat2(AT_FDCWD, legacy.c_str(), AT_FDCWD, entryPath().c_str(), RENAME_NOREPLACE);
    if (outcome != 0 && errno == EEXIST) outcome = ::unlink(legacy.c_str());
    if (outcome != 0 && errno != ENOENT) return {false, legacy + ": " + errorText(errno)};
    return {true, {}};
}

bool XdgAutostartLoginItem::isEnabled() const {
    std::ifstream entry(entryPath());
    if (!entry) return false;
    std::string line;
    while (std::getline(entry, line)) {
        if (line.starts_with("Hidden=") && line.substr(7) == "true") return false;
    }
    return true;
}

LoginItem::Result XdgAutostartLoginItem::enable() {
    if (program_.empty()) return {false, "the running program's path is unknown"};
    std::error_code error;
    std::filesystem::create_directories(configHome_ + "/autostart", error);
    if (error) return {false, configHome_ + "/autostart: " + error.message()};
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Name=Glintdeck\n"
          << "Comment=A glanceable HUD of live machine stats, summoned with a hotkey.\n"
          << "Exec=" << desktopEntryExec(program_) << "\n"
          << "Icon=glintdeck\n"
          << "Terminal=false\n"
          << "X-GNOME-Autostart-enabled=true\n";
    return writeAtomically(entryPath(), entry.str());
}

LoginItem::Result XdgAutostartLoginItem::disable() {
    if (::unlink(entryPath().c_str()) != 0 && errno != ENOENT) {
        return {false, entryPath() + ": " + errorText(errno)};
    }
    return {true, {}};
}

}  // namespace glintdeck
