#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace glintdeck {

// A file's whole content, byte for byte; empty when it cannot be read.
inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), {}};
}

}  // namespace glintdeck
