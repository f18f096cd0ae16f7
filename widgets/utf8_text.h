#pragma once

#include <QString>
#include <string_view>

namespace tanabashigo {

/// A UTF-8 text of the program's own as a QString.
inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tanabashigo
