#include "chance_text.h"

#include <array>
#include <cmath>

namespace tanabashigo {

namespace {

/// `value` (at least 1) rounded to two significant digits: "3.4", "37", "1200".
QString twoDigits(double value) {
    const double scale = std::pow(10.0, std::floor(std::log10(value)) - 1.0);
    const double rounded = std::round(value / scale) * scale;
    QString text = QString::number(rounded, 'f', scale < 1.0 ? 1 : 0);
    if (text.endsWith(QStringLiteral(".0"))) {
        text.chop(2);
    }
    return text;
}

/// A count of trials in Japanese units: "37", "1200", "3.4万", "2.1億".
QString trialCount(double count) {
    if (count < 100.0) {
        return QString::number(std::lround(count));
    }
    struct Unit {
        double size;
        const char16_t* name;
    };
    static constexpr std::array<Unit, 3> kUnits{{{1e12, u"兆"}, {1e8, u"億"}, {1e4, u"万"}}};
    for (const Unit& unit : kUnits) {
        if (count >= unit.size) {
            return twoDigits(count / unit.size) + QString::fromUtf16(unit.name);
        }
    }
    return twoDigits(count);
}

}  // namespace

QString percentText(double probability) {
    if (probability <= 0.0) {
        return QStringLiteral("0%");
    }
    const double percent = probability * 100.0;
    if (percent < 0.05) {
        return QStringLiteral("0.1% 未満");
    }
    return QString::number(percent, 'f', 1) + u'%';
}

QString onceInText(double probability) {
    if (probability <= 0.0) {
        return QStringLiteral("起こらない");
    }
    if (probability >= 0.9995) {
        return QStringLiteral("毎回");
    }
    if (probability >= 0.75) {
        return QStringLiteral("ほぼ毎回");
    }
    if (probability < 1e-15) {
        return QStringLiteral("ほとんど起こらない");
    }
    return QStringLiteral("約 %1 回に 1 回").arg(trialCount(1.0 / probability));
}

}  // namespace tanabashigo
