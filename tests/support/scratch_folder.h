#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/file_text.h"

namespace glintdeck {

// A private folder of its own under the temporary folder (a unique name, so parallel runs never
// meet), removed with everything in it when it goes away.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "glintdeck-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (path_.empty()) return;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] std::string root() const { return path_.string(); }

    // Replaces a file's content with exactly the text given, making its folders first; as the
    // kernel does when an attribute changes, or as a user leaves a file.
    void write(const std::filesystem::path& relative, const std::string& text) const {
        std::filesystem::create_directories((path_ / relative).parent_path());
        std::ofstream(path_ / relative, std::ios::binary | std::ios::trunc) << text;
    }
    void writeLine(const std::filesystem::path& relative, const std::string& line) const {
        write(relative, line + "\n");
    }
    [[nodiscard]] std::string read(const std::filesystem::path& relative) const {
        return fileText(path_ / relative);
    }
    // The names in one of its folders, sorted; none where that folder does not exist.
    [[nodiscard]] std::vector<std::string> names(const std::filesystem::path& relative = {}) const {
        std::vector<std::string> result;
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(path_ / relative, missing)) {
            result.push_back(entry.path().filename().string());
        }
        std::sort(result.begin(), result.end());
        return result;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace glintdeck
