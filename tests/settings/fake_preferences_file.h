#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/preferences_file.h"
#include "settings/preferences_store.h"

namespace glintdeck {

// A preferences "disk" that outlives the stores opened on it, so a test can reopen the same
// file, break it, or make writes fail.
struct FakeDisk {
    std::optional<std::string> text;  // the file; nothing when absent
    bool unreadable = false;
    bool refuseWrites = false;
    bool refuseSetAside = false;
    int writes = 0;
    std::vector<std::string> setAside;  // contents of files renamed aside, in order
};

class FakePreferencesFile final : public PreferencesFile {
  public:
    explicit FakePreferencesFile(std::shared_ptr<FakeDisk> disk) : disk_(std::move(disk)) {}

    Contents read() override {
        if (disk_->unreadable) return {ReadStatus::failed, {}};
        if (!disk_->text) return {ReadStatus::absent, {}};
        if (disk_->text->size() > kLargestFile) return {ReadStatus::tooLarge, {}};
        return {ReadStatus::ok, *disk_->text};
    }
    bool replace(std::string_view text) override {
        if (disk_->refuseWrites) return false;
        ++disk_->writes;
        disk_->text = std::string(text);
        return true;
    }
    std::optional<std::string> setAside() override {
        if (disk_->refuseSetAside || !disk_->text) return std::nullopt;
        disk_->setAside.push_back(*disk_->text);
        disk_->text.reset();
        return "defaults.json.corrupt-" + std::to_string(disk_->setAside.size());
    }
    std::string path() const override { return "defaults.json"; }

  private:
    std::shared_ptr<FakeDisk> disk_;
};

inline std::shared_ptr<PreferencesStore> openStore(
    const std::shared_ptr<FakeDisk>& disk,
    PreferencesStore::Mode mode = PreferencesStore::Mode::readWrite,
    std::vector<std::string>* warnings = nullptr) {
    return std::make_shared<PreferencesStore>(std::make_unique<FakePreferencesFile>(disk), mode,
                                              [warnings](const std::string& line) {
                                                  if (warnings) warnings->push_back(line);
                                              });
}

}  // namespace glintdeck
