#include "presentation/tile_value.h"

#include "presentation/widest_text.h"

namespace glintdeck {
namespace {

std::string marked(const std::string& marker, const std::string& text) {
    return marker + ' ' + text;
}

CombinedValues bothValues(const TileValue& shownFirst, const TileValue& shownSecond) {
    return {
        .value = marked(shownFirst.marker, shownFirst.text),
        .widestValue = marked(shownFirst.marker, shownFirst.widest),
        .secondaryValue = marked(shownSecond.marker, shownSecond.text),
        .widestSecondaryValue = marked(shownSecond.marker, shownSecond.widest),
    };
}

TileValue named(std::string_view label, std::string_view marker, std::string_view widest) {
    return {.label = std::string(label),
            .marker = std::string(marker),
            .text = {},
            .widest = std::string(widest)};
}

}  // namespace

std::optional<TwoValueNames> twoValueNames(StatKind kind) {
    switch (kind) {
        case StatKind::memory:
            return TwoValueNames{named("Used", "U", kWidestByteText),
                                 named("Free", "F", kWidestByteText)};
        case StatKind::disk:
            return TwoValueNames{named("Free", "F", kWidestByteText),
                                 named("Used", "U", kWidestByteText)};
        case StatKind::network:
            return TwoValueNames{named("Down", "↓", kWidestRate), named("Up", "↑", kWidestRate)};
        default:
            return std::nullopt;
    }
}

CombinedValues combineValues(TileValueMode mode, const TileValue& first, const TileValue& second) {
    switch (mode) {
        case TileValueMode::both:
            return bothValues(first, second);
        case TileValueMode::bothReversed:
            return bothValues(second, first);
        case TileValueMode::first:
            return {.value = first.text, .widestValue = first.widest};
        case TileValueMode::second:
            break;
    }
    return {.value = second.text, .widestValue = second.widest};
}

std::string title(TileValueMode mode, std::string_view firstLabel, std::string_view secondLabel) {
    switch (mode) {
        case TileValueMode::both:
            return std::string(firstLabel) + " and " + std::string(secondLabel);
        case TileValueMode::bothReversed:
            return std::string(secondLabel) + " and " + std::string(firstLabel);
        case TileValueMode::first:
            return std::string(firstLabel);
        case TileValueMode::second:
            break;
    }
    return std::string(secondLabel);
}

}  // namespace glintdeck
