#include "settings/preferences_store.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "settings/base64.h"

namespace glintdeck {
namespace {

using Json = nlohmann::json;

constexpr const char* kDataKey = "$data";

// Preferences nest three levels at most. Anything far deeper is not ours, and writing it back
// would recurse once per level.
constexpr int kDeepestNesting = 64;

void warnOnStandardError(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

bool isData(const Json& value) {
    return value.is_object() && value.size() == 1 && value.contains(kDataKey) &&
           value[kDataKey].is_string();
}

// The parsed object, or nothing when the text is not a JSON object of sane depth.
std::optional<Json> parseObject(const std::string& text) {
    bool tooDeep = false;
    // What lies too deep is discarded as it is parsed, so it never fills memory.
    Json::parser_callback_t watchDepth = [&tooDeep](int depth, Json::parse_event_t, Json&) {
        if (depth > kDeepestNesting) tooDeep = true;
        return depth <= kDeepestNesting;
    };
    Json parsed = Json::parse(text, watchDepth, /*allow_exceptions=*/false);
    if (tooDeep || !parsed.is_object()) return std::nullopt;
    return parsed;
}

}  // namespace

PreferencesStore::PreferencesStore() : warn_(warnOnStandardError) {}

PreferencesStore::PreferencesStore(std::unique_ptr<PreferencesFile> file, Mode mode, Warn warn)
    : file_(std::move(file)), warn_(warn ? std::move(warn) : Warn(warnOnStandardError)) {
    load(mode);
}

std::unique_ptr<PreferencesStore> PreferencesStore::inMemory() {
    return std::unique_ptr<PreferencesStore>(new PreferencesStore());
}

void PreferencesStore::load(Mode mode) {
    bool readOnly = mode == Mode::readOnly;
    keepsChanges_ = !readOnly;
    PreferencesFile::Contents contents = file_->read();
    // Whoever put a link there (a dotfile manager, or someone who wants us to replace what it
    // points to) keeps it as it is: read, and never written, renamed or replaced.
    throughLink_ = contents.throughLink;
    bool mayWrite = !readOnly && !throughLink_;
    if (throughLink_ && !readOnly) {
        neverSaved_ =
            file_->path() + " is a symbolic link, which Glintdeck reads but never writes through";
    }
    switch (contents.status) {
        case PreferencesFile::ReadStatus::absent:
            writable_ = mayWrite;
            return;
        case PreferencesFile::ReadStatus::failed:
            // Writing would replace a file we have not seen.
            warn_("glintdeck: cannot read " + file_->path() +
                  "; using default settings, changes will not be saved");
            if (mayWrite) neverSaved_ = file_->path() + " could not be read";
            return;
        case PreferencesFile::ReadStatus::ok:
            if (auto parsed = parseObject(contents.text)) {
                values_ = std::move(*parsed);
                saved_ = values_;
                writable_ = mayWrite;
                return;
            }
            break;
        case PreferencesFile::ReadStatus::tooLarge:
            break;
    }
    if (readOnly || throughLink_) {
        warn_("glintdeck: " + file_->path() + " is not a valid settings file; using defaults");
        return;
    }
    if (auto keptAs = file_->setAside()) {
        warn_("glintdeck: " + file_->path() + " was not a valid settings file; kept it as " +
              *keptAs + " and started from defaults");
        writable_ = true;
    } else {
        warn_("glintdeck: " + file_->path() +
              " is not a valid settings file and could not be renamed; using defaults, changes "
              "will not be saved");
        neverSaved_ = file_->path() + " is not a valid settings file and could not be renamed";
    }
}

const Json* PreferencesStore::find(std::string_view key) const {
    auto found = values_.find(key);
    return found == values_.end() ? nullptr : &*found;
}

bool PreferencesStore::contains(std::string_view key) const { return find(key) != nullptr; }

std::optional<bool> PreferencesStore::boolValue(std::string_view key) const {
    const Json* value = find(key);
    if (!value || !value->is_boolean()) return std::nullopt;
    return value->get<bool>();
}

std::optional<int64_t> PreferencesStore::integerValue(std::string_view key) const {
    const Json* value = find(key);
    if (!value) return std::nullopt;
    if (value->is_number_unsigned()) {
        auto number = value->get<uint64_t>();
        if (number > static_cast<uint64_t>(INT64_MAX)) return std::nullopt;
        return static_cast<int64_t>(number);
    }
    if (value->is_number_integer()) return value->get<int64_t>();
    if (value->is_number_float()) {
        double number = std::trunc(value->get<double>());
        // 2^63 is exactly representable; anything at or past it (or NaN) does not convert.
        if (!(number >= -0x1p63 && number < 0x1p63)) return std::nullopt;
        return static_cast<int64_t>(number);
    }
    return std::nullopt;
}

std::optional<double> PreferencesStore::doubleValue(std::string_view key) const {
    const Json* value = find(key);
    if (!value || !value->is_number()) return std::nullopt;
    auto number = value->get<double>();
    if (!std::isfinite(number)) return std::nullopt;
    return number;
}

std::optional<std::string> PreferencesStore::stringValue(std::string_view key) const {
    const Json* value = find(key);
    if (!value || !value->is_string()) return std::nullopt;
    return value->get<std::string>();
}

std::optional<std::vector<std::string>> PreferencesStore::stringArray(std::string_view key) const {
    const Json* value = find(key);
    if (!value || !value->is_array()) return std::nullopt;
    std::vector<std::string> strings;
    strings.reserve(value->size());
    for (const Json& element : *value) {
        if (!element.is_string()) return std::nullopt;
        strings.push_back(element.get<std::string>());
    }
    return strings;
}

std::optional<std::map<std::string, std::string>> PreferencesStore::stringDictionary(
    std::string_view key) const {
    const Json* value = find(key);
    if (!value || !value->is_object() || isData(*value)) return std::nullopt;
    std::map<std::string, std::string> entries;
    for (const auto& [entryKey, entryValue] : value->items()) {
        if (entryValue.is_string()) entries.emplace(entryKey, entryValue.get<std::string>());
    }
    return entries;
}

std::optional<PreferencesStore::Data> PreferencesStore::data(std::string_view key) const {
    const Json* value = find(key);
    if (!value || !isData(*value)) return std::nullopt;
    return decodeBase64((*value)[kDataKey].get_ref<const std::string&>());
}

bool PreferencesStore::setBool(std::string_view key, bool value) { return set(key, value); }

bool PreferencesStore::setInteger(std::string_view key, int64_t value) { return set(key, value); }

bool PreferencesStore::setDouble(std::string_view key, double value) { return set(key, value); }

bool PreferencesStore::setString(std::string_view key, std::string_view value) {
    return set(key, std::string(value));
}

bool PreferencesStore::setStringArray(std::string_view key, const std::vector<std::string>& value) {
    return set(key, value);
}

bool PreferencesStore::setStringDictionary(std::string_view key,
                                           const std::map<std::string, std::string>& value) {
    return set(key, value);
}

bool PreferencesStore::setData(std::string_view key, const Data& value) {
    return set(key, Json{{kDataKey, encodeBase64(value)}});
}

bool PreferencesStore::remove(std::string_view key) {
    auto found = values_.find(key);
    if (found != values_.end()) values_.erase(found);
    return write();
}

bool PreferencesStore::set(std::string_view key, Json value) {
    values_[std::string(key)] = std::move(value);
    return write();
}

bool PreferencesStore::batch(const std::function<void()>& changes) {
    ++batchDepth_;
    changes();
    --batchDepth_;
    if (batchDepth_ > 0 || !batchChanged_) return false;
    batchChanged_ = false;
    return write();
}

bool PreferencesStore::write() {
    if (batchDepth_ > 0) {
        batchChanged_ = true;
        return false;
    }
    bool stored = writeFile();
    if (!keepsChanges_) return stored;
    if (stored) saved_ = values_;
    // Assigning what the file holds already loses nothing when the write fails: loading assigns
    // some keys at every start, which must not count against a file that is never written.
    bool unsaved = !stored && values_ != saved_;
    if (unsaved && !unsavedChanges_ && writable_) {
        warn_("glintdeck: could not save the settings to " + file_->path() +
              "; the change holds until Glintdeck quits, and the next change tries again");
    }
    // Other stores that may not write were reported when they were loaded; a link is reported at
    // the first change only, since reading through it is no fault.
    if (unsaved && !unsavedChanges_ && throughLink_) {
        warn_("glintdeck: " + neverSaved_ + "; changes hold until Glintdeck quits");
    }
    unsavedChanges_ = unsaved;
    return stored;
}

bool PreferencesStore::writeFile() {
    if (!writable_) return false;
    // Strings that are not UTF-8 are written with replacement characters instead of throwing.
    std::string text = values_.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
    // Never a file the next launch would refuse as too large: indenting a long array that was
    // stored compactly can multiply its size.
    if (text.size() > PreferencesFile::kLargestFile) {
        text = values_.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n';
        if (text.size() > PreferencesFile::kLargestFile) return false;
    }
    return file_->replace(text);
}

}  // namespace glintdeck
