#include "settings/preferences_path.h"

namespace glintdeck {
namespace {

bool isAbsolute(const std::optional<std::string_view>& path) {
    return path && !path->empty() && path->front() == '/';
}

std::string withoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    return std::string(path);
}

}  // namespace

std::optional<std::string> standardPreferencesPath(std::optional<std::string_view> xdgConfigHome,
                                                   std::optional<std::string_view> home) {
    std::string configHome;
    if (isAbsolute(xdgConfigHome)) {
        configHome = withoutTrailingSlashes(*xdgConfigHome);
    } else if (isAbsolute(home)) {
        configHome = withoutTrailingSlashes(*home) + "/.config";
    } else {
        return std::nullopt;
    }
    if (configHome == "/") configHome.clear();
    return configHome + "/glintdeck/defaults.json";
}

}  // namespace glintdeck
