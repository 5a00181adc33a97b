#pragma once

#include <filesystem>
#include <system_error>
#include <utility>

namespace glintdeck {

// The entries of one directory, for a range-for, that never throws. Entries under /proc and /sys
// come and go while they are listed (a process exits, a device is unplugged, a driver unbinds),
// and std::filesystem's plain iteration throws when reading the directory fails part way, as it
// does once the directory itself is gone. Here a directory that cannot be opened lists nothing,
// and one that fails part way ends the listing with the entries read so far. Order is the
// directory's own, which is arbitrary: sort where order matters.
class DirectoryEntries final {
  public:
    explicit DirectoryEntries(const std::filesystem::path& folder) : first_(open(folder)) {}

    class Iterator {
      public:
        explicit Iterator(std::filesystem::directory_iterator at) : at_(std::move(at)) {}
        const std::filesystem::directory_entry& operator*() const { return *at_; }
        const std::filesystem::directory_entry* operator->() const { return &*at_; }
        Iterator& operator++() {
            std::error_code error;
            at_.increment(error);
            if (error) at_ = std::filesystem::directory_iterator();
            return *this;
        }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

      private:
        std::filesystem::directory_iterator at_;
    };

    // Once only: the listing is read as it is walked.
    [[nodiscard]] Iterator begin() { return Iterator(std::move(first_)); }
    [[nodiscard]] Iterator end() const { return Iterator(std::filesystem::directory_iterator()); }

  private:
    static std::filesystem::directory_iterator open(const std::filesystem::path& folder) {
        std::error_code error;
        return std::filesystem::directory_iterator(folder, error);  // the end one on failure
    }

    std::filesystem::directory_iterator first_;
};

}  // namespace glintdeck
