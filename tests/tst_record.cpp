#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "class_pool.h"
#include "record_line.h"
#include "record_reader.h"

using namespace tanabashigo;

namespace {

/// A record file's text from its short form in the test data.
std::string recordText(QString notation) {
    QString full = "{H}";
    for (int trial = 1; trial <= 20; ++trial) {
        full += QString("|~,7,%1,0,3,3,%1,landing").arg(trial);
    }
    notation.replace("{full}", full + "|~,7,21,0,3,3,20,end");
    notation.replace("{H}", QString::fromUtf8(recordHeader())).replace("{BOM}", QChar(0xFEFF));
    notation.replace(QRegularExpression("~(\\d)"), "2026-12-07T09:15:0\\1+09:00");
    notation.replace('~', "2026-12-07T09:15:02+09:00").replace('|', '\n').replace("\\r", "\r");
    return notation.toStdString();
}

/// The rows of a test data file, each with the comment line just above it.
void addRows(const char* fileName, const std::function<void(const QString&, const QString&)>& add) {
    QFile file(QFINDTESTDATA(QStringLiteral("data/") + fileName));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString name;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith('#')) {
            name = line.mid(2);
        } else {
            add(name, line);
        }
    }
}

/// The rows of a test data file as a notation and what is expected of it, tab-separated.
void addExpectations(const char* fileName) {
    QTest::addColumn<QString>("notation");
    QTest::addColumn<QString>("expected");
    addRows(fileName, [](const QString& name, const QString& row) {
        QTest::newRow(qPrintable(name)) << row.section('\t', 0, 0) << row.section('\t', 1);
    });
}

/// " p: " and the hands of each column, or nothing for no prediction.
QString handsOf(const ClassPrediction& prediction) {
    QStringList hands;
    for (const int raised : prediction.hands) {
        hands << QString::number(raised);
    }
    return prediction.empty() ? QString() : " p: " + hands.join(' ');
}

/// Each experiment read as "number/rungs/start trials[ end]: counts[ p: hands]", or the line
/// refused.
QString outcome(const RecordRead& read) {
    if (const auto* error = std::get_if<RecordError>(&read)) {
        return QString("refused at line %1").arg(error->line);
    }
    QStringList parts;
    for (const RecordedExperiment& e : std::get<0>(read).experiments) {
        QStringList counts;
        for (const std::uint64_t count : e.counts) {
            counts << QString::number(count);
        }
        parts << QString::asprintf("%d/%d/%d t%d%s: ", e.experiment, e.rungs, e.start, e.trials,
                                   e.ended ? " end" : "") +
                     counts.join(' ') + handsOf(e.prediction);
    }
    const int torn = std::get<0>(read).tornLines;
    return parts.join(" | ") + (torn > 0 ? QString(" (%1 cut short)").arg(torn) : QString());
}

/// Each pooled ladder as "rungs/start xN: counts", then "||" and what the teacher is told.
QString pooledOutcome(const ClassPool& pool) {
    const auto [ladders, notes] = pool.pool();
    QStringList parts;
    for (const PooledLadder& ladder : ladders) {
        QStringList counts;
        for (const std::uint64_t count : ladder.total.comparison.counts) {
            counts << QString::number(count);
        }
        parts << QString("%1/%2 x%3: ")
                         .arg(ladder.total.comparison.rungs)
                         .arg(ladder.total.comparison.start)
                         .arg(ladder.total.experiments) +
                     counts.join(' ') + handsOf(ladder.total.comparison.prediction);
    }
    QStringList said;
    for (const PoolNote& note : notes) {
        said << QString::fromStdString(note.first);
    }
    return (parts.join(" | ") + " || " + said.join(" / ")).trimmed();
}

}  // namespace

class RecordTest : public QObject {
    Q_OBJECT
private slots:
    void linesReadBackAsWrittenOrNotAtAll_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        addRows("record_lines.txt", [](const QString&, const QString& row) {
            QTest::newRow(qPrintable(row)) << row.mid(1) << row.startsWith('+');
        });
    }

    void linesReadBackAsWrittenOrNotAtAll() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const std::string line = recordText(text);
        const auto read = parseRecordLine(line);
        QCOMPARE(read.has_value(), valid);
        if (valid) {
            QCOMPARE(formatRecordLine(*read), line + '\n');
        }
    }

    void filesAreReadIntoExperiments_data() { addExpectations("record_files.txt"); }

    void filesAreReadIntoExperiments() {
        QFETCH(QString, notation);
        QFETCH(QString, expected);
        QCOMPARE(outcome(readRecordText(recordText(notation))), expected);
    }

    void classFilesCountEachExperimentOnce_data() { addExpectations("pooled_files.txt"); }

    void classFilesCountEachExperimentOnce() {
        QFETCH(QString, notation);
        QFETCH(QString, expected);
        ClassPool pool;
        for (const QString& file : notation.split('&')) {
            const std::string text = recordText(file.section('=', 1));
            QVERIFY(!pool.take(file.section('=', 0, 0).toStdString(), readRecordText(text)));
        }
        QCOMPARE(pooledOutcome(pool), expected);
    }
};

QTEST_APPLESS_MAIN(RecordTest)
#include "tst_record.moc"
