#pragma once

#include <optional>
#include <string>

#include "samplers/disk_sampler.h"

namespace glintdeck {

// statvfs(3) of the root path: the root file system in the product, any folder in tests.
class StatvfsReader final : public FileSystemSource {
  public:
    explicit StatvfsReader(std::string root);
    [[nodiscard]] std::optional<FileSystemStatistics> rootFileSystem() override;

  private:
    std::string root_;
};

}  // namespace glintdeck
