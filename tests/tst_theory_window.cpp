#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <numeric>

#include "record_list.h"
#include "theory_dialogs.h"
#include "theory_window.h"

using namespace tanabashigo;

namespace {

/// Dialogs that answer with prepared paths and remember their warnings.
class FakeDialogs : public TheoryDialogs {
public:
    QStringList openRecordFiles(QWidget*) override {
        return paths.isEmpty() ? QStringList{path} : paths;
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QStringList&) override {
        return path;
    }
    void warn(QWidget*, const QString&, const QString& text) override { warnings << text; }
    QString path;
    QStringList paths;  ///< several record files, when any
    QStringList warnings;
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ColumnCounts countsOf(std::initializer_list<std::uint64_t> counts) {
    ColumnCounts result{};
    std::copy(counts.begin(), counts.end(), result.begin());
    return result;
}

}  // namespace

class TheoryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void controlsRecordsAndSimulationsReachTheModel() {
        FakeDialogs dialogs;
        TheoryWindow window(dialogs, UINT32_MAX);
        auto* slider = window.findChild<QSlider*>();
        auto* rungs = window.findChildren<QSpinBox*>().at(0);
        slider->setValue(120);
        QCOMPARE(rungs->value(), 120);
        window.findChildren<QSpinBox*>().at(1)->setValue(7);
        rungs->setValue(45);
        QCOMPARE(slider->value(), 45);
        QCOMPARE(window.model().law(), exactLandingLaw(45, 7));
        window.onRungsChosen(400);
        QCOMPARE(slider->value(), kSlotCount);
        QCOMPARE(window.model().law(), exactLandingLaw(kSlotCount, 7));

        const QTemporaryDir folder;
        const auto open = [&window] {
            QSignalSpy loaded(&window.recordLoad(), &RecordLoad::finished);
            window.onOpenRecord();
            return loaded.wait(5'000);
        };
        dialogs.path = QFINDTESTDATA("data/class_record.csv");
        QVERIFY(open());
        const RecordList& list = window.recordList();
        const QModelIndex thirty = list.index(1, 0);  // the newest, of 10 rungs, comes first
        QCOMPARE(window.model().rungs(), 10);
        QVERIFY(
            list.data(list.index(0, 0, thirty), Qt::DisplayRole).toString().startsWith("実験 2"));
        window.onRecordChosen(thirty);
        QCOMPARE(window.model().rungs(), 30);
        QCOMPARE(window.model().shownComparison()->counts, countsOf({0, 1, 1, 1}));
        const QString recordPath = dialogs.path;
        // The table for a spreadsheet: the law to 0.1 % (18.19 % and 17.24 % computed apart)
        // beside the class's counts.
        dialogs.path = folder.filePath("table.csv");
        window.onSaveTable();
        QFile table(dialogs.path);
        QVERIFY(table.open(QIODevice::ReadOnly));
        const QByteArray saved = table.readAll();
        QVERIFY2(saved.startsWith("\xEF\xBB\xBF") && saved.contains("着地の回数,3\r\n") &&
                     saved.contains("\n2,18.2,1,33.3\r\n3,17.2,1,33.3\r\n"),
                 saved.constData());

        // A file that cannot be read, or only in part, leaves the records already shown.
        const QByteArray torn = readAll(recordPath) + "2026-12-07T09:18";
        for (const auto& [name, text] :
             {std::pair("foreign.png", QByteArray("\x89PNG\r\n\x1a\n")),
              std::pair("missing.csv", QByteArray()), std::pair("torn.csv", torn)}) {
            QFile file(dialogs.path = folder.filePath(name));
            QVERIFY(text.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(text)));
            file.close();
            QVERIFY(open());
            QCOMPARE(list.rowCount(), 2);
            QCOMPARE(window.model().shownComparison()->rungs, name[0] == 't' ? 10 : 30);
        }
        QCOMPARE(dialogs.warnings.size(), 2);
        QVERIFY2(dialogs.warnings[0].contains(u"1 行目："), qPrintable(dialogs.warnings[0]));
        QVERIFY(dialogs.warnings[1].contains(
            u"」はたなばしごの記録として読めませんでした。\nファイルがありません"));
        const auto shows = [&window](const QString& text) {
            const QList<QLabel*> labels = window.findChildren<QLabel*>();
            return std::any_of(labels.begin(), labels.end(), [&text](const QLabel* label) {
                return label->text().contains(text);
            });
        };
        QVERIFY(shows("途中で切れた行が 1 行ありました"));

        window.onRungsChosen(20);
        auto* trials = window.findChildren<QSpinBox*>().at(2);
        trials->setValue(TheoryWindow::kMinTrials);
        QSignalSpy finished(&window.simulation(), &SimulationRun::finished);
        window.onSimulate();
        QVERIFY(finished.wait(10'000));
        const ColumnCounts& counts = window.model().shownComparison()->counts;
        QCOMPARE(std::accumulate(counts.begin(), counts.end(), std::uint64_t{0}),
                 std::uint64_t{TheoryWindow::kMinTrials});
        QVERIFY(shows("乱数の種 4294967295"));  // the seed as given

        window.onRungsChosen(21);
        trials->setValue(TheoryWindow::kMaxTrials);
        QSignalSpy cancelled(&window.simulation(), &SimulationRun::cancelled);
        window.onSimulate();
        window.onCancel();
        QVERIFY(cancelled.wait(5'000));
        QCOMPARE(window.model().shownComparison(), nullptr);
        QCOMPARE(window.model().rungs(), 21);
    }

    void classFilesPooled_data() {
        QTest::addColumn<QStringList>("files");  ///< data/… from tests, others written damaged
        QTest::addColumn<int>("experiments");    ///< of 30 rungs from line 3, all files together
        QTest::addColumn<ColumnCounts>("total");
        QTest::addColumn<QString>("refused");  ///< what the one warning says, split by |
        // The class total that --compare class_record.csv pupil_record.csv prints.
        const ColumnCounts pupils = countsOf({0, 1, 1, 1, 2});
        const QString pupil = "data/pupil_record.csv";
        const QString record = "data/class_record.csv";
        QTest::newRow("two pupils") << QStringList{record, pupil} << 3 << pupils << "";
        QTest::newRow("one file twice")
            << QStringList{record, record} << 2 << countsOf({0, 1, 1, 1}) << "";
        QTest::newRow("three, one damaged") << QStringList{record, "damaged.csv", pupil} << 3
                                            << pupils << "「damaged.csv」（4 行目）|まとめて表示";
        QTest::newRow("two refused")
            << QStringList{"missing.csv", pupil, "damaged.csv", record} << 3 << pupils
            << "「missing.csv」：ファイルがありません|「damaged.csv」（4 行目）";
    }
    void classFilesPooled() {
        QFETCH(QStringList, files);
        QFETCH(int, experiments);
        QFETCH(ColumnCounts, total);
        QFETCH(QString, refused);
        const QTemporaryDir folder;
        QFile damaged(folder.filePath("damaged.csv"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(
            readAll(QFINDTESTDATA("data/class_record.csv")).replace("2,1,landing", "2,1,lamding"));
        damaged.close();
        FakeDialogs dialogs;
        QStringList good;  // the files that count, in the order chosen, each once
        for (const QString& file : files) {
            good << (file.startsWith("data/") ? QStringList{file.mid(5)} : QStringList());
            dialogs.paths << (file.startsWith("data/") ? QFINDTESTDATA(file)
                                                       : folder.filePath(file));
        }
        good.removeDuplicates();
        TheoryWindow window(dialogs);
        QSignalSpy read(&window.recordLoad(), &RecordLoad::finished);
        window.onOpenRecord();
        while (read.size() < files.size()) {
            QVERIFY(read.wait(5'000));
        }
        const RecordList& list = window.recordList();
        QCOMPARE(list.rowCount(), 2);  // 10 rungs, then 30
        window.onRecordChosen(list.index(1, 0));
        QCOMPARE(window.model().rungs(), 30);
        QCOMPARE(window.model().shownComparison()->counts, total);
        QCOMPARE(dialogs.warnings.size(), refused.isEmpty() ? 0 : 1);
        for (const QString& part : refused.split('|', Qt::SkipEmptyParts)) {
            QVERIFY2(dialogs.warnings[0].contains(part), qPrintable(dialogs.warnings[0]));
        }
        // Each file's row, then the class's: the class's is their sum, and what is shown.
        const auto* table = window.findChild<QTableWidget*>();
        const int classRow = table->rowCount() - 1;
        QCOMPARE(table->item(classRow, 0)->text(), "クラス全体");
        QCOMPARE(table->item(classRow, 1)->text().toInt(), experiments);
        QCOMPARE(table->rowCount(), good.size() + 1);
        for (int row = 0; row < classRow; ++row) {
            QCOMPARE(table->item(row, 0)->text(), good[row]);
        }
        for (int column = 1; column < table->columnCount(); ++column) {
            qulonglong files = 0;
            for (int row = 0; row < classRow; ++row) {
                files += table->item(row, column)->text().toULongLong();
            }
            QCOMPARE(files, table->item(classRow, column)->text().toULongLong());
        }
        for (int column = 1; column <= kLineCount; ++column) {
            QCOMPARE(table->item(classRow, column + 1)->text().toULongLong(), total[column]);
        }
    }

    void sentences_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("rungs");
        QTest::addColumn<ColumnCounts>("counts");  ///< a class's landings, if any
        QTest::addColumn<QString>("said");         ///< parts split by |, those after ! unsaid
        // Nearly fair ranges, means and middle values from exact rational arithmetic,
        // independently of this program.
        const ColumnCounts none{};
        QTest::newRow("one short")
            << 3 << 111 << none << "横線が 112 本から 208 本のとき|!111 本はほぼ公平|!また不公平";
        QTest::newRow("first") << 3 << 112 << none << "いまの 112 本はほぼ公平|!また不公平";
        QTest::newRow("last") << 3 << 208 << none << "いまの 208 本はほぼ公平|!また不公平";
        QTest::newRow("one over") << 3 << 209 << none << "また不公平|!209 本はほぼ";
        QTest::newRow("line 1, last") << 1 << 209 << none << "122 本から 209 本|209 本はほぼ公平";
        QTest::newRow("line 5") << 5 << 65 << none << "66 本から 208 本|!65 本はほぼ公平";
        QTest::newRow("50 rungs")
            << 3 << 50 << none << "平均 107.3 回|108 回まで|速さ 2（|約 7.3 秒|約 13.1 分|13.2 分";
        QTest::newRow("landings as the law says")
            << 3 << 10 << countsOf({140, 219, 269, 211, 112, 37, 9, 2, 1, 0})
            << "よく合って|公平とは言えません|100万回に1回|!20回に1回";
        QTest::newRow("even landings")
            << 3 << 10 << countsOf({100, 100, 100, 100, 100, 100, 100, 100, 100, 100})
            << "考えにくいほどずれて|言い切れません";
        QTest::newRow("a landing the law rules out")
            << 3 << 0 << countsOf({0, 0, 5, 0, 0, 0, 0, 0, 0, 1}) << "起こらない列";
        QTest::newRow("three landings")
            << 3 << 30 << countsOf({0, 1, 1, 1}) << "少なすぎて|あと約|!自由度";
    }
    void sentences() {
        QFETCH(int, start);
        QFETCH(int, rungs);
        QFETCH(ColumnCounts, counts);
        QFETCH(QString, said);
        TheoryModel model;
        model.setStart(start);
        model.setRungs(rungs);
        QString text = QString::fromStdString(model.fairnessSentence() + model.durationSentence());
        if (counts != ColumnCounts{}) {
            model.setComparison({"クラス", "クラスの結果", counts, rungs, start, {}});
            text += QString::fromStdString(model.plainComparison()->japanese +
                                           model.plainComparison()->figures);
        }
        for (const QString& part : said.split('|')) {
            const bool unsaid = part.startsWith('!');
            QVERIFY2(text.contains(part.mid(unsaid ? 1 : 0)) != unsaid,
                     qPrintable(part + " / " + text));
        }
    }
};

QTEST_MAIN(TheoryWindowTest)
#include "tst_theory_window.moc"
