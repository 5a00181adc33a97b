#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/preferences_file.h"

namespace glintdeck {

// A typed key-value store kept as one JSON object in a PreferencesFile. Values are JSON
// natives; data is stored as {"$data": "<base64>"}. Reads never fail loudly: a missing key or a
// value of another type reads as nothing, and the stored value is left as it is.
//
// Every set or remove rewrites the whole file at once through PreferencesFile::replace. A write
// that fails keeps the new value in memory and the old file on disk; the next write that
// succeeds stores both. A file that is not a JSON object, or is far larger or deeper than any
// we write, is renamed aside, never overwritten, and the store starts empty, with one line on
// standard error naming the kept file. A file reached through a symbolic link is read as any
// other, and never written, renamed or replaced: changes then hold in memory only.
//
// In read-only mode (tools that only show stats) the loading rules apply in memory and nothing
// is ever written or renamed. Main thread only.
class PreferencesStore final {
  public:
    enum class Mode { readWrite, readOnly };
    using Data = std::vector<uint8_t>;
    using Warn = std::function<void(const std::string& line)>;

    // warn receives the one-line messages; by default they go to standard error.
    PreferencesStore(std::unique_ptr<PreferencesFile> file, Mode mode, Warn warn = {});

    // A store without a file: values live for the run only.
    [[nodiscard]] static std::unique_ptr<PreferencesStore> inMemory();

    PreferencesStore(const PreferencesStore&) = delete;
    PreferencesStore& operator=(const PreferencesStore&) = delete;

    [[nodiscard]] bool contains(std::string_view key) const;
    [[nodiscard]] std::optional<bool> boolValue(std::string_view key) const;
    // An integer, or a double truncated toward zero; nothing outside the 64-bit range.
    [[nodiscard]] std::optional<int64_t> integerValue(std::string_view key) const;
    // A double, or an integer as a double; nothing for a value that is not finite.
    [[nodiscard]] std::optional<double> doubleValue(std::string_view key) const;
    [[nodiscard]] std::optional<std::string> stringValue(std::string_view key) const;
    // An array whose elements are all strings; nothing when any element is not.
    [[nodiscard]] std::optional<std::vector<std::string>> stringArray(std::string_view key) const;
    // A dictionary's entries that hold strings; entries of other types are left out.
    [[nodiscard]] std::optional<std::map<std::string, std::string>> stringDictionary(
        std::string_view key) const;
    [[nodiscard]] std::optional<Data> data(std::string_view key) const;

    // Each returns whether the file now holds the change (always false in read-only mode and
    // without a file); the value is in force in memory either way.
    bool setBool(std::string_view key, bool value);
    bool setInteger(std::string_view key, int64_t value);
    bool setDouble(std::string_view key, double value);
    bool setString(std::string_view key, std::string_view value);
    bool setStringArray(std::string_view key, const std::vector<std::string>& value);
    bool setStringDictionary(std::string_view key, const std::map<std::string, std::string>& value);
    bool setData(std::string_view key, const Data& value);
    bool remove(std::string_view key);

    // Runs changes, whose sets and removes then reach the file in one write, so that keys that
    // belong together (a hot key's code and modifiers) are never stored half changed.
    bool batch(const std::function<void()>& changes);

    // Whether writes can reach the file: false in read-only mode, without a file, and when the
    // file could not be read or set aside.
    [[nodiscard]] bool persists() const { return writable_; }

    // Says line where this store's messages go (standard error by default).
    void warn(const std::string& line) const { warn_(line); }

    // Whether values in force differ from the file because the last change did not reach it in
    // read-write mode (a full disk, a folder made read-only, a file that could not be read and
    // so is never replaced). The first such failure after a success is said once through warn;
    // each later change tries again.
    [[nodiscard]] bool hasUnsavedChanges() const { return unsavedChanges_; }

    // Why no change can reach the file in read-write mode, for the user, as found when it was
    // loaded: a symbolic link, a file that could not be read, or one not valid that could not be
    // renamed. Empty when changes can be saved, even if one failed (a full disk).
    [[nodiscard]] const std::string& whyChangesAreNotSaved() const { return neverSaved_; }

  private:
    PreferencesStore();
    void load(Mode mode);
    [[nodiscard]] const nlohmann::json* find(std::string_view key) const;
    bool set(std::string_view key, nlohmann::json value);
    bool write();
    bool writeFile();

    std::unique_ptr<PreferencesFile> file_;
    Warn warn_;
    nlohmann::json values_ = nlohmann::json::object();
    nlohmann::json saved_ = nlohmann::json::object();  // what the file holds, as far as we know
    bool writable_ = false;
    bool keepsChanges_ = false;  // a file in read-write mode
    bool unsavedChanges_ = false;
    bool throughLink_ = false;
    std::string neverSaved_;
    int batchDepth_ = 0;
    bool batchChanged_ = false;
};

}  // namespace glintdeck
