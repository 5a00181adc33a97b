#include "platform/linux/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace glintdeck {

bool isPrivateFolder(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

std::string fallbackRuntimeFolder() { return "/tmp/glintdeck-" + std::to_string(::geteuid()); }

std::optional<std::string> privateRuntimeFolder(std::optional<std::string_view> xdgRuntimeDir,
                                                const std::string& fallback) {
    if (xdgRuntimeDir && xdgRuntimeDir->starts_with('/')) {
        std::string folder(*xdgRuntimeDir);
        if (isPrivateFolder(folder)) return folder;
    }
    // Made by us when missing; /tmp's sticky bit keeps others from replacing it afterwards.
    ::mkdir(fallback.c_str(), 0700);
    if (isPrivateFolder(fallback)) return fallback;
    return std::nullopt;
}

}  // namespace glintdeck
