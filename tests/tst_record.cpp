#include <QTest>

#include "record_file.h"
#include "record_line.h"

using namespace tanabashigo;

Q_DECLARE_METATYPE(tanabashigo::RecordLine)

namespace {

const QString kTime = "2026-12-07T09:15:02+09:00";

/// A record file's text from a short notation: "H" is the header, a line opening with a digit
/// gets kTime in front, and "|" ends a line.
std::string recordText(const QString& notation) {
    QString text;
    for (const QString& line : notation.split('|')) {
        text += line == "H"
                    ? QString::fromUtf8(recordHeader())
                    : (!line.isEmpty() && line.front().isDigit() ? kTime + ',' + line : line);
        text += '\n';
    }
    return text.chopped(1).toStdString();
}

/// Experiment, rungs, start, trials, whether ended, and the columns' counts, one experiment
/// after another.
QString summary(const std::vector<RecordedExperiment>& experiments) {
    QStringList parts;
    for (const RecordedExperiment& e : experiments) {
        QString counts;
        for (const std::uint64_t c : e.counts) {
            counts += QString::number(c) + ' ';
        }
        parts << QString("%1/%2/%3 t%4%5 %6")
                     .arg(e.experiment)
                     .arg(e.rungs)
                     .arg(e.start)
                     .arg(e.trials)
                     .arg(e.ended ? " end" : "")
                     .arg(counts.trimmed());
    }
    return parts.join(" | ");
}

/// Experiment 7: twenty landings in column 3, then the one that ends it.
QString fullColumn() {
    QString text = "H";
    for (int trial = 1; trial <= 20; ++trial) {
        text += QString("|7,%1,0,3,3,%1,landing").arg(trial);
    }
    return text + "|7,21,0,3,3,20,end";
}

}  // namespace

class RecordTest : public QObject {
    Q_OBJECT
private slots:
    void linesReadBackAsWritten_data();
    void linesReadBackAsWritten();
    void malformedLinesAreRefused_data();
    void malformedLinesAreRefused();
    void filesAreGroupedIntoExperiments_data();
    void filesAreGroupedIntoExperiments();
    void badFilesAreRefusedAtTheirLine_data();
    void badFilesAreRefusedAtTheirLine();
};

void RecordTest::linesReadBackAsWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<RecordLine>("line");
    QTest::newRow("first landing") << kTime + ",1,1,30,3,4,1,landing"
                                   << RecordLine{kTime.toStdString(), 1, 1, 30, 3, 4, 1, false};
    QTest::newRow("end, western offset")
        << "2026-12-07T09:15:02-03:30,12,171,50,3,1,20,end"
        << RecordLine{"2026-12-07T09:15:02-03:30", 12, 171, 50, 3, 1, 20, true};
    QTest::newRow("leap day, leap second, utc")
        << "2024-02-29T23:59:60Z,999999999,7,225,10,10,3,landing"
        << RecordLine{"2024-02-29T23:59:60Z", 999999999, 7, 225, 10, 10, 3, false};
}

void RecordTest::linesReadBackAsWritten() {
    QFETCH(QString, text);
    QFETCH(RecordLine, line);
    QCOMPARE(parseRecordLine(text.toStdString()), line);
    QCOMPARE(formatRecordLine(line), text.toStdString() + '\n');
}

void RecordTest::malformedLinesAreRefused_data() {
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const QString& fields) {
        QTest::newRow(name) << kTime + ',' + fields;
    };
    QTest::newRow("empty") << "";
    QTest::newRow("the header") << QString::fromUtf8(recordHeader());
    row("seven fields", "1,1,30,3,4,1");
    row("nine fields", "1,1,30,3,4,1,landing,");
    row("cut short", "1,1,30,3,4,1,land");
    row("line end left on", "1,1,30,3,4,1,landing\r");
    row("upper-case event", "1,1,30,3,4,1,Landing");
    row("end below twenty", "1,9,30,3,4,19,end");
    row("experiment 0", "0,1,30,3,4,1,landing");
    row("trial 0", "1,0,30,3,4,1,landing");
    row("226 rungs", "1,1,226,3,4,1,landing");
    row("start 11", "1,1,30,11,4,1,landing");
    row("column 0", "1,1,30,3,0,1,landing");
    row("count 0", "1,1,30,3,4,0,landing");
    row("count 21", "1,1,30,3,4,21,landing");
    row("signed", "+1,1,30,3,4,1,landing");
    row("blank in a number", "1, 1,30,3,4,1,landing");
    row("fraction", "1,1,30.5,3,4,1,landing");
    row("empty number", "1,,30,3,4,1,landing");
    row("ten digits", "1000000000,1,30,3,4,1,landing");
    for (const char* time :
         {"2026-12-07T09:15:02", "2026-12-07T09:15:02+0900", "2026-12-07 09:15:02+09:00",
          "2026-13-07T09:15:02+09:00", "2026-11-31T09:15:02+09:00", "2100-02-29T09:15:02+09:00",
          "2026-12-07T24:00:00+09:00", "2026-12-07T09:15:02+15:00", "2026-12-07T09:15+09:00",
          "２０２６-12-07T09:15:02+09:00"}) {
        QTest::newRow(time) << QString(time) + ",1,1,30,3,4,1,landing";
    }
}

void RecordTest::malformedLinesAreRefused() {
    QFETCH(QString, text);
    QCOMPARE(parseRecordLine(text.toStdString()), std::nullopt);
}

void RecordTest::filesAreGroupedIntoExperiments_data() {
    QTest::addColumn<QString>("notation");
    QTest::addColumn<QString>("expected");
    const QString first = "H|1,1,30,3,4,1,landing|1,2,30,3,4,2,landing";
    QTest::newRow("two landings") << first << "1/30/3 t2 0 0 0 2 0 0 0 0 0 0";
    QTest::newRow("no final line end, CRLF, blank line")
        << QString::fromUtf8(recordHeader()) + "\r|1,1,30,3,4,1,landing\r||1,2,30,3,9,1,landing"
        << "1/30/3 t2 0 0 0 1 0 0 0 0 1 0";
    QTest::newRow("interleaved, joined files restart the numbers")
        << first + "|2,1,50,1,1,1,landing|1,3,30,3,5,1,landing|H|1,1,10,3,3,1,landing|"
        << "1/30/3 t3 0 0 0 2 1 0 0 0 0 0 | 2/50/1 t1 1 0 0 0 0 0 0 0 0 0 | "
           "1/10/3 t1 0 0 1 0 0 0 0 0 0 0";
    QTest::newRow("full column ends") << fullColumn() + "|8,1,0,3,3,1,landing"
                                      << "7/0/3 t21 end 0 0 20 0 0 0 0 0 0 0 | "
                                         "8/0/3 t1 0 0 1 0 0 0 0 0 0 0";
}

void RecordTest::filesAreGroupedIntoExperiments() {
    QFETCH(QString, notation);
    QFETCH(QString, expected);
    const auto read = readRecordText(recordText(notation));
    QVERIFY2(read.index() == 0, read.index() == 0 ? "" : std::get<1>(read).english.c_str());
    QCOMPARE(summary(std::get<0>(read)), expected);
}

void RecordTest::badFilesAreRefusedAtTheirLine_data() {
    QTest::addColumn<QString>("notation");
    QTest::addColumn<int>("line");
    const QString two = "H|1,1,30,3,4,1,landing|1,2,30,3,4,2,landing";
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("header only") << "H|" << 0;
    QTest::newRow("no header") << "1,1,30,3,4,1,landing" << 1;
    QTest::newRow("foreign") << "name,score|Taro,3" << 1;
    QTest::newRow("cut mid-line") << two + "|1,3,30,3,4" << 4;
    QTest::newRow("malformed inside") << QString(two).replace("4,2,", "4,x,") + "|" << 3;
    QTest::newRow("first trial missing") << "H|1,2,30,3,4,1,landing" << 2;
    QTest::newRow("trial repeated") << two + "|1,2,30,3,5,1,landing" << 4;
    QTest::newRow("rungs change") << two + "|1,3,40,3,5,1,landing" << 4;
    QTest::newRow("count skips") << two + "|1,3,30,3,4,4,landing" << 4;
    QTest::newRow("end before twenty") << two + "|1,3,30,3,4,20,end" << 4;
    QTest::newRow("end in an empty column") << "H|1,1,0,3,3,20,end" << 2;
    QTest::newRow("after the end") << fullColumn() + "|7,22,0,3,4,1,landing" << 23;
}

void RecordTest::badFilesAreRefusedAtTheirLine() {
    QFETCH(QString, notation);
    QFETCH(int, line);
    const auto read = readRecordText(recordText(notation));
    QVERIFY(std::holds_alternative<RecordError>(read));
    const RecordError error = std::get<RecordError>(read);
    QCOMPARE(error.line, line);
    QVERIFY(!error.japanese.empty() && !error.english.empty());
}

QTEST_APPLESS_MAIN(RecordTest)
#include "tst_record.moc"
