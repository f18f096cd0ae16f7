#include "chance_text.h"

#include <array>
#include <cmath>

#include "number_text.h"

namespace tanabashigo {

namespace {

/// `value` (at least 1) rounded to two significant digits: "3.4", "37", "1200".
std::string twoDigits(double value) {
    const double scale = std::pow(10.0, std::floor(std::log10(value)) - 1.0);
    const double rounded = std::round(value / scale) * scale;
    std::string text = fixedText(rounded, scale < 1.0 ? 1 : 0);
    if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) {
        text.resize(text.size() - 2);
    }
    return text;
}

/// A count of trials in Japanese units: "37", "1200", "3.4万", "2.1億".
std::string trialCount(double count) {
    if (count < 100.0) {
        return std::to_string(std::lround(count));
    }
    struct Unit {
        double size;
        const char* name;
    };
    static constexpr std::array<Unit, 3> kUnits{{{1e12, "兆"}, {1e8, "億"}, {1e4, "万"}}};
    for (const Unit& unit : kUnits) {
        if (count >= unit.size) {
            return twoDigits(count / unit.size) + unit.name;
        }
    }
    return twoDigits(count);
}

}  // namespace

std::string percentText(double probability) {
    if (probability <= 0.0) {
        return "0%";
    }
    const double percent = probability * 100.0;
    if (percent < 0.05) {
        return "0.1% 未満";
    }
    return fixedText(percent, 1) + '%';
}

std::string onceInText(double probability) {
    if (probability <= 0.0) {
        return "起こらない";
    }
    if (probability >= 0.9995) {
        return "毎回";
    }
    if (probability >= 0.75) {
        return "ほぼ毎回";
    }
    if (probability < 1e-15) {
        return "ほとんど起こらない";
    }
    return "約 " + trialCount(1.0 / probability) + " 回に 1 回";
}

}  // namespace tanabashigo
