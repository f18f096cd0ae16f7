#pragma once

#include <QFile>
#include <QTest>
#include <map>

#include "landing_law.h"

/// The law of `rungs` rungs from line `start` as computed apart from this program, from
/// data/landing_law.csv (exact rational arithmetic, rounded to 17 digits).
inline tanabashigo::ColumnLaw referenceLaw(int rungs, int start) {
    static std::map<std::pair<int, int>, tanabashigo::ColumnLaw> laws;
    if (laws.empty()) {
        QFile file(QFINDTESTDATA("data/landing_law.csv"));
        file.open(QIODevice::ReadOnly | QIODevice::Text);
        file.readLine();
        while (!file.atEnd()) {
            const QList<QByteArray> f = file.readLine().trimmed().split(',');
            tanabashigo::ColumnLaw& law = laws[{f[0].toInt(), f[1].toInt()}];
            for (int c = 1; c <= tanabashigo::kLineCount; ++c) {
                law[c] = f[c + 1].toDouble();
            }
        }
    }
    return laws.at({rungs, start});
}
