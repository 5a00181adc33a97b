#include "presentation/fans.h"

#include "presentation/number_text.h"

namespace glintdeck {

std::optional<FanSample::Fan> fastestFan(std::span<const FanSample::Fan> fans) {
    if (fans.empty()) return std::nullopt;
    const FanSample::Fan* fastest = &fans.front();
    for (const FanSample::Fan& fan : fans) {
        if (fan.current > fastest->current) fastest = &fan;  // strict: the first of equals wins
    }
    return *fastest;
}

double fanLoadPercent(std::span<const FanSample::Fan> fans) {
    std::optional<FanSample::Fan> fan = fastestFan(fans);
    if (!fan || !(fan->max > fan->min)) return 0;
    double percent = (fan->current - fan->min) / (fan->max - fan->min) * 100;
    if (!(percent > 0)) return 0;  // also a speed that is not a number
    return percent > 100 ? 100 : percent;
}

std::string fanSpeedText(std::span<const FanSample::Fan> fans) {
    std::optional<FanSample::Fan> fan = fastestFan(fans);
    std::string text;
    appendInteger(text, fan ? roundedInteger(fan->current) : 0);
    return text + " rpm";
}

std::string fanDetailText(const FanSample::Fan& fan) {
    std::string text;
    appendInteger(text, roundedInteger(fan.current));
    text += " rpm (";
    appendInteger(text, roundedInteger(fan.min));
    text += "–";
    appendInteger(text, roundedInteger(fan.max));
    text += ')';
    return text;
}

}  // namespace glintdeck
