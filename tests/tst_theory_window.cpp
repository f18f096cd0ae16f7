#include <QComboBox>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "theory_dialogs.h"
#include "theory_window.h"

using namespace tanabashigo;

namespace {

/// Dialogs that answer with a prepared path and remember their warnings.
class FakeDialogs : public TheoryDialogs {
public:
    QString openRecordFile(QWidget*) override { return path; }
    QString saveFile(QWidget*, const QString&, const QString&, const QStringList&) override {
        return path;
    }
    void warn(QWidget*, const QString&, const QString& text) override { warnings << text; }
    QString path;
    QStringList warnings;
};

QString written(const QTemporaryDir& folder, const QString& name, const QByteArray& text) {
    QFile file(folder.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return file.fileName();
}

ColumnCounts countsOf(std::initializer_list<std::uint64_t> counts) {
    ColumnCounts result{};
    int column = 1;
    for (const std::uint64_t count : counts) {
        result[column++] = count;
    }
    return result;
}

}  // namespace

class TheoryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void controlsStayInStepWithTheModel() {
        FakeDialogs dialogs;
        TheoryWindow window(dialogs);
        auto* slider = window.findChild<QSlider*>();
        auto* rungs = window.findChildren<QSpinBox*>().at(0);
        auto* start = window.findChildren<QSpinBox*>().at(1);
        slider->setValue(120);
        QCOMPARE(rungs->value(), 120);
        start->setValue(7);
        rungs->setValue(45);
        QCOMPARE(slider->value(), 45);
        QCOMPARE(window.model().law(), exactLandingLaw(45, 7));
        start->setValue(2);
        QCOMPARE(window.model().law(), exactLandingLaw(45, 2));
        window.onRungsChosen(400);
        QCOMPARE(slider->value(), kSlotCount);
        QCOMPARE(window.model().law(), exactLandingLaw(kSlotCount, 2));
    }

    void fairnessSentence_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<bool>("nearlyFair");
        QTest::addColumn<bool>("tooMany");
        QTest::newRow("one short") << 111 << false << false;
        QTest::newRow("first") << 112 << true << false;
        QTest::newRow("last") << 208 << true << false;
        QTest::newRow("one over") << 209 << false << true;
        QTest::newRow("full") << 225 << false << true;
    }
    void fairnessSentence() {
        QFETCH(int, rungs);
        QFETCH(bool, nearlyFair);
        QFETCH(bool, tooMany);
        TheoryModel model;
        model.setRungs(rungs);
        const QString sentence = model.fairnessSentence();
        QVERIFY(sentence.contains(QStringLiteral("横線が 112 本から 208 本のとき")));
        QCOMPARE(sentence.contains(QStringLiteral("%1 本はほぼ公平です").arg(rungs)), nearlyFair);
        QCOMPARE(sentence.contains(QStringLiteral("また不公平")), tooMany);
    }

    void durationSentence_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<QString>("trials");
        QTest::addColumn<QString>("minutes");
        // Means and middle values from exact rational arithmetic, independently of this program.
        QTest::newRow("10") << 10 << "平均 71.9 回で終わり、半分のクラスは 72 回まで"
                            << "平均 約 6.0 分、半分のクラスは 約 6.0 分まで";
        QTest::newRow("30") << 30 << "平均 94.1 回で終わり、半分のクラスは 95 回まで"
                            << "平均 約 7.8 分、半分のクラスは 約 7.9 分まで";
        QTest::newRow("50") << 50 << "平均 107.3 回で終わり、半分のクラスは 108 回まで"
                            << "平均 約 8.9 分、半分のクラスは 約 9.0 分まで";
    }
    void durationSentence() {
        QFETCH(int, rungs);
        QFETCH(QString, trials);
        QFETCH(QString, minutes);
        TheoryModel model;
        model.setRungs(rungs);
        const QString sentence = model.durationSentence();
        QVERIFY2(sentence.contains(trials) && sentence.contains(minutes), qPrintable(sentence));
    }

    void plainComparison_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<ColumnCounts>("counts");
        QTest::addColumn<QString>("exact");
        QTest::addColumn<QString>("fair");
        QTest::newRow("as the law says, 10 rungs")
            << 10 << countsOf({140, 219, 269, 211, 112, 37, 9, 2, 1, 0}) << "よく合って"
            << "公平とは言えません";
        QTest::newRow("even counts, 10 rungs")
            << 10 << countsOf({100, 100, 100, 100, 100, 100, 100, 100, 100, 100})
            << "考えにくいほどずれて"
            << "言い切れません";
        QTest::newRow("a landing the law rules out")
            << 0 << countsOf({0, 0, 5, 0, 0, 0, 0, 0, 0, 1}) << "起こらない列"
            << "";
        QTest::newRow("three landings")
            << 30 << countsOf({0, 1, 1, 1, 0, 0, 0, 0, 0, 0}) << "少なすぎて"
            << "";
    }
    void plainComparison() {
        QFETCH(int, rungs);
        QFETCH(ColumnCounts, counts);
        QFETCH(QString, exact);
        QFETCH(QString, fair);
        const PlainComparison comparison =
            compareCounts(counts, exactLandingLaw(rungs, 3), QStringLiteral("クラスの結果"));
        QVERIFY2(comparison.japanese.contains(exact), qPrintable(comparison.japanese));
        QVERIFY2(comparison.japanese.contains(fair), qPrintable(comparison.japanese));
    }

    void recordsAreReadAndBadOnesRefused() {
        const QTemporaryDir folder;
        FakeDialogs dialogs;
        TheoryWindow window(dialogs);
        dialogs.path = QFINDTESTDATA("data/class_record.csv");
        window.onOpenRecord();
        auto* list = window.findChild<QComboBox*>();
        QCOMPARE(list->count(), 4);  // three experiments, and the two of 30 rungs together
        window.onRecordChosen(3);
        QCOMPARE(window.model().rungs(), 30);
        QCOMPARE(window.model().shownComparison()->counts, countsOf({0, 1, 1, 1}));
        const QString shown = window.model().shownComparison()->name;

        QFile record(dialogs.path);
        QVERIFY(record.open(QIODevice::ReadOnly));
        QByteArray broken = record.readAll();
        broken.replace("2,1,30,3,2,1,landing", "2,1,30,3,2,1,lamding");
        for (const QString& path : {written(folder, "broken.csv", broken),
                                    written(folder, "foreign.png", "\x89PNG\r\n\x1a\n"),
                                    folder.filePath("missing.csv")}) {
            dialogs.path = path;
            window.onOpenRecord();
        }
        QCOMPARE(dialogs.warnings.size(), 3);
        QVERIFY2(dialogs.warnings[0].contains(QStringLiteral("4 行目")),
                 qPrintable(dialogs.warnings[0]));
        QCOMPARE(list->count(), 4);
        QCOMPARE(window.model().shownComparison()->name, shown);
    }

    void simulationFinishesOrIsCancelled() {
        FakeDialogs dialogs;
        TheoryWindow window(dialogs);
        window.onRungsChosen(20);
        auto* trials = window.findChildren<QSpinBox*>().at(2);
        trials->setValue(TheoryWindow::kMinTrials);
        QSignalSpy finished(&window.simulation(), &SimulationRun::finished);
        window.onSimulate();
        QVERIFY(finished.wait(10'000));
        std::uint64_t total = 0;
        for (const std::uint64_t count : window.model().shownComparison()->counts) {
            total += count;
        }
        QCOMPARE(total, std::uint64_t{TheoryWindow::kMinTrials});

        window.onRungsChosen(21);
        trials->setValue(TheoryWindow::kMaxTrials);
        QSignalSpy cancelled(&window.simulation(), &SimulationRun::cancelled);
        window.onSimulate();
        window.onCancel();
        QVERIFY(cancelled.wait(5'000));
        QCOMPARE(window.model().shownComparison(), nullptr);
        QCOMPARE(window.model().rungs(), 21);
    }
};

QTEST_MAIN(TheoryWindowTest)
#include "tst_theory_window.moc"
