// The preferences file, whatever it holds: the store loads it (or sets it aside), the settings
// read every field from it, and after one assignment the file written back loads into the same
// settings. A read-only store, as glintdeck-stats opens it, never writes or renames anything.

#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/app_settings.h"
#include "tests/settings/fake_preferences_file.h"

namespace glintdeck {
namespace {

bool sameSettings(const AppSettings& a, const AppSettings& b) {
    return a.statOrder() == b.statOrder() && a.enabledStats() == b.enabledStats() &&
           a.tileValueModes() == b.tileValueModes() && a.tileStyles() == b.tileStyles() &&
           a.interval() == b.interval() && a.anchor() == b.anchor() &&
           a.customPosition() == b.customPosition() && a.stripHeight() == b.stripHeight() &&
           a.hotKey() == b.hotKey() && a.pinHotKey() == b.pinHotKey() &&
           a.hasSeenHint() == b.hasSeenHint() && a.themePreset() == b.themePreset() &&
           a.customTheme() == b.customTheme();
}

}  // namespace
}  // namespace glintdeck

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    auto disk = std::make_shared<FakeDisk>();
    disk->text = std::string(textOf(data, size));

    {
        AppSettings settings(openStore(disk, PreferencesStore::Mode::readOnly));
        require(disk->writes == 0 && disk->setAside.empty());
    }

    AppSettings settings(openStore(disk));
    settings.setHasSeenHint(!settings.hasSeenHint());
    require(disk->text.has_value());
    AppSettings reloaded(openStore(disk));
    require(disk->setAside.size() <= 1);  // what the first load wrote is never set aside
    require(sameSettings(settings, reloaded));
    return 0;
}
