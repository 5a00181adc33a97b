#include "platform/linux/session/runtime_folder.h"

#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace glintdeck {

bool isPrivateFolder(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

std::string fallbackRuntimeFolder() { return "/tmp/glintdeck-" + std::to_string(::geteuid()); }

bool fitsSocketAddress(std::string_view path) {
    return path.size() < sizeof(sockaddr_un::sun_path);
}

std::optional<std::string> privateSocketPath(std::optional<std::string_view> xdgRuntimeDir,
                                             const std::string& fallback, std::string_view name) {
    if (xdgRuntimeDir && xdgRuntimeDir->starts_with('/')) {
        std::string folder(*xdgRuntimeDir);
        std::string path = folder + "/" + std::string(name);
        // A runtime folder so deep that the name leaves no room would give a socket nobody can
        // bind, and so another instance at every launch.
        if (fitsSocketAddress(path) && isPrivateFolder(folder)) return path;
    }
    // Made by us when missing; /tmp's sticky bit keeps others from replacing it afterwards.
    ::mkdir(fallback.c_str(), 0700);
    std::string path = fallback + "/" + std::string(name);
    if (fitsSocketAddress(path) && isPrivateFolder(fallback)) return path;
    return std::nullopt;
}

}  // namespace glintdeck
