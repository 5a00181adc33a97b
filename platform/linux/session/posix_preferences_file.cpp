#include "platform/linux/session/posix_preferences_file.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/linux/session/no_follow_file.h"
#include "settings/app_settings.h"
#include "settings/preferences_path.h"

namespace glintdeck {
namespace {

std::string utcStamp(std::time_t time) {
    std::tm utc{};
    ::gmtime_r(&time, &utc);
    char text[32];
    size_t length = std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return std::string(text, length);
}

std::optional<std::string> homeFolder() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result &&
        result->pw_dir) {
        return std::string(result->pw_dir);
    }
    return std::nullopt;
}

std::optional<std::string_view> environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string_view(value);
}

}  // namespace

PosixPreferencesFile::PosixPreferencesFile(std::string path, std::function<std::time_t()> now)
    : path_(std::move(path)), now_(now ? std::move(now) : [] { return std::time(nullptr); }) {}

PreferencesFile::Contents PosixPreferencesFile::read() {
    NoFollowRead contents = readNoFollow(path_, kLargestFile);
    // Dotfile managers link single files into place: such a file is read, and never written.
    bool throughLink = contents.status == NoFollowRead::Status::symlink;
    if (throughLink) contents = readThroughLink(path_, kLargestFile);
    switch (contents.status) {
        case NoFollowRead::Status::ok:
            return {ReadStatus::ok, std::move(contents.text), throughLink};
        case NoFollowRead::Status::absent:
            return {ReadStatus::absent, {}, throughLink};
        case NoFollowRead::Status::symlink:
        case NoFollowRead::Status::failed:
            return {ReadStatus::failed, {}, throughLink};
        case NoFollowRead::Status::tooLarge:
            return {ReadStatus::tooLarge, {}, throughLink};
    }
    return {ReadStatus::failed, {}, throughLink};
}

bool PosixPreferencesFile::replace(std::string_view text) {
    return replaceNoFollow(path_, text, 0600) == 0;
}

std::optional<std::string> PosixPreferencesFile::setAside() {
    std::string base = path_ + ".corrupt-" + utcStamp(now_());
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string candidate = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        std::string name = candidate.substr(candidate.rfind('/') + 1);
        int error = renameAsideNoFollow(path_, name);
        if (error == 0) return candidate;
        if (error != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

void PosixPreferencesFile::removeStaleTemporaries() { glintdeck::removeStaleTemporaries(path_); }

std::unique_ptr<PreferencesStore> openStandardPreferences(PreferencesStore::Mode mode) {
    auto home = homeFolder();
    auto path =
        standardPreferencesPath(environment("XDG_CONFIG_HOME"),
                                home ? std::optional<std::string_view>(*home) : std::nullopt);
    if (!path) return nullptr;
    auto file = std::make_unique<PosixPreferencesFile>(*path);
    if (mode == PreferencesStore::Mode::readWrite) file->removeStaleTemporaries();
    return std::make_unique<PreferencesStore>(std::move(file), mode);
}

void useStandardPreferences(PreferencesStore::Mode mode) {
    AppSettings::setSharedStoreOpener([mode] { return openStandardPreferences(mode); });
}

}  // namespace glintdeck
