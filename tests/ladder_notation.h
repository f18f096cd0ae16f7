#pragma once

#include <QString>
#include <QStringList>

#include "ladder.h"

/// Ladders in tests are written as blank-separated "gap:height" pairs, rung 1 first:
/// "3:12 4:21" puts rung 1 between lines x = 3 and x = 4 at height 12 and rung 2 between
/// x = 4 and x = 5 at height 21. The height goes into RungYOdd or RungYEven by the gap's
/// parity, and the ladder is complete (RungNo = RungCount + 1).
inline tanabashigo::Ladder ladderFrom(const QString& rungs) {
    tanabashigo::Ladder ladder;
    const QStringList pairs = rungs.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& pair : pairs) {
        const int i = ++ladder.RungCount;
        const int gap = pair.section(QLatin1Char(':'), 0, 0).toInt();
        const int height = pair.section(QLatin1Char(':'), 1, 1).toInt();
        ladder.RungLeft[i] = static_cast<tanabashigo::Int16>(gap);
        (gap % 2 == 0 ? ladder.RungYEven : ladder.RungYOdd)[i] =
            static_cast<tanabashigo::Int16>(height);
    }
    ladder.RungNo = static_cast<tanabashigo::Int16>(ladder.RungCount + 1);
    return ladder;
}
