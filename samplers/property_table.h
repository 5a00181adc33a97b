#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace glintdeck {

// Raw bytes, as a "data" property holds them (a model name padded with NULs). Kept
// apart from text because the samplers treat the two differently.
struct PropertyData {
    std::string bytes;
    bool operator==(const PropertyData&) const = default;
};

class PropertyValue;

// A keyed set of loosely typed values, the shape in which battery and accelerator sources
// describe themselves. Readers look a key up and check its type; a key that is missing and a
// key of the wrong type are the same to them.
using PropertyTable = std::map<std::string, PropertyValue, std::less<>>;

class PropertyValue {
  public:
    PropertyValue(int value) : value_(int64_t{value}) {}
    PropertyValue(long value) : value_(int64_t{value}) {}
    PropertyValue(long long value) : value_(int64_t{value}) {}
    PropertyValue(double value) : value_(value) {}
    PropertyValue(bool value) : value_(value) {}
    PropertyValue(const char* text) : value_(std::string(text)) {}
    PropertyValue(std::string text) : value_(std::move(text)) {}
    PropertyValue(PropertyData data) : value_(std::move(data)) {}
    PropertyValue(PropertyTable table) : value_(std::move(table)) {}

    bool operator==(const PropertyValue&) const = default;

    template <typename T>
    [[nodiscard]] const T* as() const {
        return std::get_if<T>(&value_);
    }

  private:
    std::variant<int64_t, double, bool, std::string, PropertyData, PropertyTable> value_;
};

// An integer or a floating-point number.
[[nodiscard]] std::optional<double> numberAt(const PropertyTable& table, std::string_view key);
// An integer only: a floating-point value is not an integer here.
[[nodiscard]] std::optional<int64_t> integerAt(const PropertyTable& table, std::string_view key);
[[nodiscard]] std::optional<bool> booleanAt(const PropertyTable& table, std::string_view key);
[[nodiscard]] const std::string* textAt(const PropertyTable& table, std::string_view key);
[[nodiscard]] const PropertyData* dataAt(const PropertyTable& table, std::string_view key);
[[nodiscard]] const PropertyTable* tableAt(const PropertyTable& table, std::string_view key);

// A number with its fraction dropped; nothing when it is not finite or does not fit.
[[nodiscard]] std::optional<int64_t> wholeNumber(std::optional<double> number);

}  // namespace glintdeck
