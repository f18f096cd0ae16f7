#include "landing_recorder.h"

#include <QDateTime>
#include <cstdio>
#include <cstdlib>

namespace tanabashigo {

std::string localTimeNow() {
    // Always with a ±hh:mm offset, +00:00 too, so the reader sees the local clock's zone.
    const QDateTime local = QDateTime::currentDateTime();
    const int offset = local.offsetFromUtc();
    char zone[8];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+',
                  std::abs(offset) / 3600 % 100, std::abs(offset) / 60 % 60);
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toStdString() + zone;
}

}  // namespace tanabashigo
