#include "help_text.h"

#include "window_texts.h"

namespace tanabashigo {

const QStringList& helpLines() {
    static const QStringList lines = [] {
        QStringList list;
        for (const std::string_view line : texts::kHelpLines) {
            list << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        }
        return list;
    }();
    return lines;
}

}  // namespace tanabashigo
