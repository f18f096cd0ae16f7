#include <QTest>

#include "record_line.h"

using namespace tanabashigo;

class RecordLineTest : public QObject {
    Q_OBJECT
private slots:
    void linesReadBackAsWritten_data();
    void linesReadBackAsWritten();
    void malformedLinesAreRefused_data();
    void malformedLinesAreRefused();
};

void RecordLineTest::linesReadBackAsWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("experiment");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("ends");
    QTest::newRow("first landing")
        << "2026-12-07T09:15:02+09:00,1,1,30,3,4,1,landing" << 1 << 4 << 1 << false;
    QTest::newRow("end of an experiment")
        << "2026-12-07T09:15:02-03:30,12,171,50,3,1,20,end" << 12 << 1 << 20 << true;
    QTest::newRow("utc, no rungs, column 10")
        << "2024-02-29T23:59:60Z,999999999,7,0,10,10,3,landing" << 999999999 << 10 << 3 << false;
    QTest::newRow("every slot") << "2026-01-31T00:00:00+14:00,2,5,225,1,2,5,landing" << 2 << 2 << 5
                                << false;
}

void RecordLineTest::linesReadBackAsWritten() {
    QFETCH(QString, text);
    QFETCH(int, experiment);
    QFETCH(int, column);
    QFETCH(int, count);
    QFETCH(bool, ends);
    const std::string line = text.toStdString();
    const auto read = parseRecordLine(line);
    QVERIFY(read.has_value());
    QCOMPARE(read->experiment, experiment);
    QCOMPARE(read->column, column);
    QCOMPARE(read->count, count);
    QCOMPARE(read->endsExperiment, ends);
    QCOMPARE(read->time, line.substr(0, line.find(',')));
    QCOMPARE(formatRecordLine(*read), line + '\n');
    QCOMPARE(parseRecordLine(formatRecordLine(*read).substr(0, line.size())), read);
}

void RecordLineTest::malformedLinesAreRefused_data() {
    QTest::addColumn<QString>("text");
    const QString time = "2026-12-07T09:15:02+09:00";
    QTest::newRow("empty") << "";
    QTest::newRow("the header") << QString::fromUtf8(recordHeader());
    QTest::newRow("seven fields") << time + ",1,1,30,3,4,1";
    QTest::newRow("nine fields") << time + ",1,1,30,3,4,1,landing,";
    QTest::newRow("cut short") << time + ",1,1,30,3,4,1,land";
    QTest::newRow("line end left on") << time + ",1,1,30,3,4,1,landing\r";
    QTest::newRow("upper-case event") << time + ",1,1,30,3,4,1,Landing";
    QTest::newRow("end below twenty") << time + ",1,9,30,3,4,19,end";
    QTest::newRow("experiment 0") << time + ",0,1,30,3,4,1,landing";
    QTest::newRow("trial 0") << time + ",1,0,30,3,4,1,landing";
    QTest::newRow("226 rungs") << time + ",1,1,226,3,4,1,landing";
    QTest::newRow("start 11") << time + ",1,1,30,11,4,1,landing";
    QTest::newRow("column 0") << time + ",1,1,30,3,0,1,landing";
    QTest::newRow("count 0") << time + ",1,1,30,3,4,0,landing";
    QTest::newRow("count 21") << time + ",1,1,30,3,4,21,landing";
    QTest::newRow("signed number") << time + ",+1,1,30,3,4,1,landing";
    QTest::newRow("blank in a number") << time + ",1, 1,30,3,4,1,landing";
    QTest::newRow("fraction") << time + ",1,1,30.5,3,4,1,landing";
    QTest::newRow("empty number") << time + ",1,,30,3,4,1,landing";
    QTest::newRow("ten digits") << time + ",1000000000,1,30,3,4,1,landing";
    QTest::newRow("no offset") << "2026-12-07T09:15:02,1,1,30,3,4,1,landing";
    QTest::newRow("offset without colon") << "2026-12-07T09:15:02+0900,1,1,30,3,4,1,landing";
    QTest::newRow("blank for T") << "2026-12-07 09:15:02+09:00,1,1,30,3,4,1,landing";
    QTest::newRow("month 13") << "2026-13-07T09:15:02+09:00,1,1,30,3,4,1,landing";
    QTest::newRow("31 November") << "2026-11-31T09:15:02+09:00,1,1,30,3,4,1,landing";
    QTest::newRow("29 February 2100") << "2100-02-29T09:15:02+09:00,1,1,30,3,4,1,landing";
    QTest::newRow("hour 24") << "2026-12-07T24:00:00+09:00,1,1,30,3,4,1,landing";
    QTest::newRow("offset 15 hours") << "2026-12-07T09:15:02+15:00,1,1,30,3,4,1,landing";
    QTest::newRow("minutes only") << "2026-12-07T09:15+09:00,1,1,30,3,4,1,landing";
}

void RecordLineTest::malformedLinesAreRefused() {
    QFETCH(QString, text);
    QCOMPARE(parseRecordLine(text.toStdString()), std::nullopt);
}

QTEST_APPLESS_MAIN(RecordLineTest)
#include "tst_record_line.moc"
