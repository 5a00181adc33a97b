#include "samplers/property_table.h"

#include <cmath>

namespace glintdeck {
namespace {

template <typename T>
const T* find(const PropertyTable& table, std::string_view key) {
    auto entry = table.find(key);
    return entry == table.end() ? nullptr : entry->second.as<T>();
}

}  // namespace

std::optional<double> numberAt(const PropertyTable& table, std::string_view key) {
    if (const auto* integer = find<int64_t>(table, key)) return static_cast<double>(*integer);
    if (const auto* real = find<double>(table, key)) return *real;
    return std::nullopt;
}

std::optional<int64_t> integerAt(const PropertyTable& table, std::string_view key) {
    if (const auto* integer = find<int64_t>(table, key)) return *integer;
    return std::nullopt;
}

std::optional<bool> booleanAt(const PropertyTable& table, std::string_view key) {
    if (const auto* flag = find<bool>(table, key)) return *flag;
    return std::nullopt;
}

const std::string* textAt(const PropertyTable& table, std::string_view key) {
    return find<std::string>(table, key);
}

const PropertyData* dataAt(const PropertyTable& table, std::string_view key) {
    return find<PropertyData>(table, key);
}

const PropertyTable* tableAt(const PropertyTable& table, std::string_view key) {
    return find<PropertyTable>(table, key);
}

std::optional<int64_t> wholeNumber(std::optional<double> number) {
    // 2^63 itself does not fit; converting an out-of-range double is undefined behaviour.
    constexpr double kLimit = 9223372036854775808.0;
    if (!number || !std::isfinite(*number) || std::fabs(*number) >= kLimit) return std::nullopt;
    return static_cast<int64_t>(std::trunc(*number));
}

}  // namespace glintdeck
