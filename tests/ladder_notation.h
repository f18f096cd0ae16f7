#pragma once

#include <QString>
#include <QStringList>

#include "ladder.h"

/// Ladders in tests are written as blank-separated "gap:height" pairs, rung 1 first:
/// "3:12 4:21" puts rung 1 between lines x = 3 and x = 4 at height 12 and rung 2 between
/// x = 4 and x = 5 at height 21. The rungs are placed as the ladder's ticks place them, and
/// the ladder is complete.
inline tanabashigo::Ladder ladderFrom(const QString& rungs) {
    const QStringList pairs = rungs.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    tanabashigo::Ladder ladder;
    ladder.setRungCount(static_cast<int>(pairs.size()));
    for (const QString& pair : pairs) {
        ladder.place(pair.section(QLatin1Char(':'), 0, 0).toInt(),
                     pair.section(QLatin1Char(':'), 1, 1).toInt());
    }
    return ladder;
}
