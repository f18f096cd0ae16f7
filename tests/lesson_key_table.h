#pragma once

#include <QFile>
#include <QList>
#include <QStringList>
#include <QTest>

/// A row of tests/data/lesson_keys.csv: the focus, the view in front, the key, and whether
/// the lesson acts on it.
struct LessonKeyRow {
    QString focus, front, key;
    bool acts = false;
};

inline QList<LessonKeyRow> lessonKeyTable() {
    QFile file(QFINDTESTDATA("data/lesson_keys.csv"));
    QList<LessonKeyRow> rows;
    for (const QString& line :
         file.open(QIODevice::ReadOnly) ? QString(file.readAll()).split('\n') : QStringList()) {
        const QStringList cells = line.split(',');
        if (!line.startsWith('#') && cells.size() == 4 && cells[3] != "acts") {
            rows.push_back({cells[0], cells[1], cells[2], cells[3] == "yes"});
        }
    }
    return rows;
}
