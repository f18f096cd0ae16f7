#include "theory_window.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <cmath>
#include <thread>
#include <variant>

#include "chart_view.h"
#include "fonts.h"
#include "record_list.h"
#include "theory_dialogs.h"
#include "whole_file.h"

namespace tanabashigo {

namespace {

constexpr int kProgressSteps = 1000;

QLabel* sentenceLabel() {
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QGroupBox* group(const QString& title, QLayout* layout) {
    auto* box = new QGroupBox(title);
    box->setLayout(layout);
    return box;
}

QString trialsText(std::uint64_t trials) {
    return QLocale(QLocale::Japanese).toString(static_cast<qulonglong>(trials));
}

const QStringList kChartFilters{QStringLiteral("PNG 画像 (*.png)"),
                                QStringLiteral("SVG 画像 (*.svg)")};

}  // namespace

TheoryWindow::TheoryWindow(TheoryDialogs& dialogs, std::uint32_t seed, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("理論と実験"));
    setFont(msPGothic(10.5, false));
    auto* controls = new QVBoxLayout;
    controls->addWidget(ladderControls());
    controls->addWidget(simulationControls());
    controls->addWidget(recordControls());
    controls->addWidget(saveControls());
    controls->addStretch();
    auto* controlsWidget = new QWidget;
    controlsWidget->setLayout(controls);
    // On a small screen the controls scroll rather than push the window off it.
    auto* left = new QScrollArea;
    left->setWidget(controlsWidget);
    left->setWidgetResizable(true);
    left->setFrameShape(QFrame::NoFrame);
    left->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    left->setFixedWidth(440);

    lawView_ =
        new ChartView([this](const Box& area) { return lawChartSvg(model_.lawChart(), area); });
    fairnessView_ = new ChartView(
        [this](const Box& area) { return fairnessChartSvg(model_.fairnessChart(), area); });
    auto* charts = new QVBoxLayout;
    charts->addWidget(lawView_, 3);
    charts->addWidget(fairnessView_, 2);
    auto* oneLine = new QWidget;
    oneLine->setLayout(charts);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(left);
    layout->addWidget(chartTabs(oneLine), 1);

    seedBox_->setValue(seed);
    connect(&simulation_, &SimulationRun::progressed, this, &TheoryWindow::onSimulationProgress);
    connect(&simulation_, &SimulationRun::finished, this, &TheoryWindow::onSimulationFinished);
    connect(&simulation_, &SimulationRun::cancelled, this, &TheoryWindow::onSimulationCancelled);
    connect(&recordLoad_, &RecordLoad::progressed, this, &TheoryWindow::onRecordProgress);
    connect(&recordLoad_, &RecordLoad::finished, this, &TheoryWindow::onRecordLoaded);
    // The frame and title bar come on top of the size asked for.
    resize(QSize(1260, 900).boundedTo(screen()->availableGeometry().size() - QSize(8, 32)));
    refresh();
}

QTabWidget* TheoryWindow::chartTabs(QWidget* oneLine) {
    allLinesView_ = new ChartView(
        [this](const Box& area) { return allLinesChartSvg(model_.allLinesChart(), area); });
    allLinesText_ = sentenceLabel();
    auto* allLines = new QWidget;
    auto* allLinesLayout = new QVBoxLayout(allLines);
    allLinesLayout->addWidget(allLinesView_, 1);
    allLinesLayout->addWidget(allLinesText_);
    settlingView_ = new ChartView(
        [this](const Box& area) { return settlingChartSvg(model_.settlingChart(), area); });
    settlingColumnBox_ = new QComboBox;
    settlingColumnBox_->addItem(QStringLiteral("すべての列"));
    for (int column = 1; column <= kLineCount; ++column) {
        settlingColumnBox_->addItem(QStringLiteral("%1 列目").arg(column));
    }
    settlingColumnBox_->setAccessibleName(QStringLiteral("グラフにする列"));
    connect(settlingColumnBox_, &QComboBox::currentIndexChanged, this, [this](int column) {
        model_.setSettlingColumn(column);
        refresh();
    });
    settlingText_ = sentenceLabel();
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(new QLabel(QStringLiteral("グラフにする列")));
    chooser->addWidget(settlingColumnBox_);
    chooser->addStretch();
    auto* settling = new QWidget;
    auto* settlingLayout = new QVBoxLayout(settling);
    settlingLayout->addLayout(chooser);
    settlingLayout->addWidget(settlingView_, 1);
    settlingLayout->addWidget(settlingText_);
    tabs_ = new QTabWidget;
    tabs_->addTab(oneLine, QStringLiteral("1 本の線から"));
    tabs_->addTab(allLines, QStringLiteral("どこをひいても"));
    tabs_->addTab(settling, QStringLiteral("大数の法則"));
    return tabs_;
}

void TheoryWindow::showEveryLine() {
    tabs_->setCurrentIndex(1);
}

QWidget* TheoryWindow::ladderControls() {
    rungsSlider_ = new QSlider(Qt::Horizontal);
    rungsSlider_->setRange(0, kSlotCount);
    rungsSlider_->setAccessibleName(QStringLiteral("横線の本数"));
    rungsBox_ = new QSpinBox;
    rungsBox_->setRange(0, kSlotCount);
    rungsBox_->setSuffix(QStringLiteral(" 本"));
    rungsBox_->setAccessibleName(QStringLiteral("横線の本数"));
    startBox_ = new QSpinBox;
    startBox_->setRange(1, kLineCount);
    startBox_->setSuffix(QStringLiteral(" 本目"));
    startBox_->setAccessibleName(QStringLiteral("スタートの縦線"));
    connect(rungsSlider_, &QSlider::valueChanged, this, &TheoryWindow::onRungsChosen);
    connect(rungsBox_, &QSpinBox::valueChanged, this, &TheoryWindow::onRungsChosen);
    connect(startBox_, &QSpinBox::valueChanged, this, &TheoryWindow::onStartChosen);

    auto* rungs = new QHBoxLayout;
    rungs->addWidget(new QLabel(QStringLiteral("横線の本数")));
    rungs->addWidget(rungsSlider_, 1);
    rungs->addWidget(rungsBox_);
    auto* start = new QHBoxLayout;
    start->addWidget(new QLabel(QStringLiteral("スタートの縦線")));
    start->addWidget(startBox_);
    start->addStretch();
    fairnessText_ = sentenceLabel();
    durationText_ = sentenceLabel();
    auto* layout = new QVBoxLayout;
    layout->addLayout(rungs);
    layout->addLayout(start);
    layout->addWidget(fairnessText_);
    layout->addWidget(durationText_);
    return group(QStringLiteral("たなばしごの形と理論"), layout);
}

QWidget* TheoryWindow::simulationControls() {
    trialsBox_ = new QSpinBox;
    trialsBox_->setRange(kMinTrials, kMaxTrials);
    trialsBox_->setSingleStep(kMinTrials);
    trialsBox_->setValue(1'000'000);
    trialsBox_->setGroupSeparatorShown(true);
    trialsBox_->setSuffix(QStringLiteral(" 回"));
    trialsBox_->setAccessibleName(QStringLiteral("実験の回数"));
    seedBox_ = new QDoubleSpinBox;  // holds every seed of 0..4294967295, as --seed does
    seedBox_->setDecimals(0);
    seedBox_->setRange(0.0, static_cast<double>(UINT32_MAX));
    seedBox_->setAccessibleName(QStringLiteral("乱数の種"));
    seedBox_->setToolTip(QStringLiteral("同じ種なら、何度実験しても同じ結果になります。"));
    simulateButton_ = new QPushButton(QStringLiteral("実験する"));
    cancelButton_ = new QPushButton(QStringLiteral("中止"));
    connect(simulateButton_, &QPushButton::clicked, this, &TheoryWindow::onSimulate);
    connect(cancelButton_, &QPushButton::clicked, this, &TheoryWindow::onCancel);
    progress_ = new QProgressBar;
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(0);
    simulationText_ = sentenceLabel();

    auto* settings = new QHBoxLayout;
    settings->addWidget(new QLabel(QStringLiteral("回数")));
    settings->addWidget(trialsBox_, 1);
    settings->addWidget(new QLabel(QStringLiteral("乱数の種")));
    settings->addWidget(seedBox_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(simulateButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout;
    layout->addLayout(settings);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->addWidget(simulationText_);
    return group(QStringLiteral("コンピューターで実験する"), layout);
}

QWidget* TheoryWindow::recordControls() {
    openRecordButton_ = new QPushButton(QStringLiteral("記録を開く…"));
    cancelRecordButton_ = new QPushButton(QStringLiteral("中止"));
    connect(openRecordButton_, &QPushButton::clicked, this, &TheoryWindow::onOpenRecord);
    connect(cancelRecordButton_, &QPushButton::clicked, this, &TheoryWindow::onCancelRecord);
    recordProgress_ = new QProgressBar;
    recordProgress_->setRange(0, kProgressSteps);
    recordProgress_->hide();
    recordText_ = sentenceLabel();
    recordList_ = new RecordList(this);
    recordView_ = new QTreeView;
    recordView_->setModel(recordList_);
    recordView_->setHeaderHidden(true);
    recordView_->setUniformRowHeights(true);  // a million rows are laid out without asking each
    recordView_->setMaximumHeight(160);
    recordView_->setAccessibleName(QStringLiteral("比べる記録"));
    connect(recordView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TheoryWindow::onRecordChosen);
    QStringList headers{QStringLiteral("ファイル"), QStringLiteral("実験")};
    for (int column = 1; column <= kLineCount; ++column) {
        headers << QString::number(column);
    }
    headers << QStringLiteral("合計");
    sharesTable_ = new QTableWidget(0, int(headers.size()));
    sharesTable_->setHorizontalHeaderLabels(headers);
    sharesTable_->verticalHeader()->hide();
    sharesTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sharesTable_->horizontalHeader()->setMinimumSectionSize(0);
    sharesTable_->setAccessibleName(QStringLiteral("ファイルごとの回数"));
    sharesTable_->hide();
    comparisonText_ = sentenceLabel();
    figuresText_ = sentenceLabel();
    QFont small = figuresText_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    figuresText_->setFont(small);
    sharesTable_->setFont(small);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(openRecordButton_, 1);
    buttons->addWidget(cancelRecordButton_);
    auto* layout = new QVBoxLayout;
    layout->addLayout(buttons);
    layout->addWidget(recordProgress_);
    layout->addWidget(recordText_);
    layout->addWidget(recordView_);
    layout->addWidget(sharesTable_);
    layout->addWidget(comparisonText_);
    layout->addWidget(figuresText_);
    return group(QStringLiteral("クラスの記録・くらべた結果"), layout);
}

QWidget* TheoryWindow::saveControls() {
    auto* law = new QPushButton(QStringLiteral("確率のグラフを保存…"));
    auto* fairness = new QPushButton(QStringLiteral("公平さのグラフを保存…"));
    auto* allLines = new QPushButton(QStringLiteral("どこをひいても の図を保存…"));
    auto* table = new QPushButton(QStringLiteral("表を CSV で保存…"));
    auto* worksheet = new QPushButton(QStringLiteral("ワークシートを PDF で保存…"));
    connect(allLines, &QPushButton::clicked, this, &TheoryWindow::onSaveAllLinesChart);
    connect(law, &QPushButton::clicked, this, &TheoryWindow::onSaveLawChart);
    connect(fairness, &QPushButton::clicked, this, &TheoryWindow::onSaveFairnessChart);
    connect(table, &QPushButton::clicked, this, &TheoryWindow::onSaveTable);
    connect(worksheet, &QPushButton::clicked, this, &TheoryWindow::onSaveWorksheet);
    auto* layout = new QVBoxLayout;
    layout->addWidget(law);
    layout->addWidget(fairness);
    layout->addWidget(allLines);
    layout->addWidget(table);
    layout->addWidget(worksheet);
    return group(QStringLiteral("保存する"), layout);
}

void TheoryWindow::onRungsChosen(int rungs) {
    model_.setRungs(rungs);
    refresh();
}

void TheoryWindow::onStartChosen(int start) {
    model_.setStart(start);
    refresh();
}

void TheoryWindow::onSpeedChosen(int speed) {
    model_.setSpeed(speed);
    refresh();
}

void TheoryWindow::onSimulate() {
    if (simulation_.running()) {
        return;
    }
    running_ = SimulationRequest{};
    running_.rungs = model_.rungs();
    running_.start = model_.start();
    running_.trials = static_cast<std::uint64_t>(trialsBox_->value());
    running_.seed = static_cast<std::uint32_t>(std::llround(seedBox_->value()));
    running_.threads = std::max(1u, std::thread::hardware_concurrency());
    if (!simulation_.start(running_)) {
        simulationText_->setText(QStringLiteral("実験を始められませんでした。"));
        return;
    }
    progress_->setValue(0);
    simulationText_->setText(QStringLiteral("実験しています…"));
    refresh();
}

void TheoryWindow::onCancel() {
    simulation_.cancel();
    simulationText_->setText(QStringLiteral("中止しています…"));
}

void TheoryWindow::onSimulationProgress(std::uint64_t done, std::uint64_t total) {
    progress_->setValue(total == 0 ? 0
                                   : static_cast<int>(static_cast<double>(done) /
                                                      static_cast<double>(total) * kProgressSteps));
}

void TheoryWindow::onSimulationFinished(const ColumnCounts& counts) {
    const QString trials = trialsText(running_.trials);
    simulationText_->setText(QStringLiteral("%1 回の実験が終わりました（乱数の種 %2）。")
                                 .arg(trials)
                                 .arg(running_.seed));
    recordView_->setCurrentIndex({});  // the record is no longer what is shown
    model_.setComparison({"実験", "実験の結果", counts, running_.rungs, running_.start, {}});
    refresh();
}

void TheoryWindow::onSimulationCancelled() {
    progress_->setValue(0);
    simulationText_->setText(QStringLiteral("実験を中止しました。"));
    refresh();
}

void TheoryWindow::onOpenRecord() {
    if (simulation_.running() || recordLoad_.running()) {
        return;
    }
    openRecords(dialogs_.openRecordFiles(this));
}

void TheoryWindow::openRecord(const QString& path) {
    if (!recordLoad_.running()) {
        pooling_ = false;
        startReading(path);
    }
}

void TheoryWindow::openRecords(const QStringList& paths) {
    if (paths.size() < 2) {
        if (!paths.isEmpty()) {
            openRecord(paths.front());
        }
        return;
    }
    if (recordLoad_.running()) {
        return;
    }
    classRecords_ = ClassRecords(paths);
    pooling_ = true;
    readNextClassFile();
}

bool TheoryWindow::startReading(const QString& path, bool pooled) {
    if (simulation_.running() ||
        !recordLoad_.start(QFile::encodeName(path).toStdString(), pooled)) {
        return false;
    }
    recordName_ = QFileInfo(path).fileName();
    recordProgress_->setValue(0);
    recordProgress_->show();
    recordText_->setText(QStringLiteral("「%1」を読んでいます…").arg(recordName_));
    refresh();
    return true;
}

void TheoryWindow::readNextClassFile() {
    if (!classRecords_.nextPath().isEmpty()) {
        pooling_ = startReading(classRecords_.nextPath(), true);
        return;
    }
    pooling_ = false;
    refresh();
    const QStringList& refusals = classRecords_.refusals();
    auto [pooled, said] = classRecords_.pooled();
    if (!refusals.isEmpty()) {
        said << QStringLiteral("読めなかったファイル：") + refusals.join(QStringLiteral("、"));
    }
    recordText_->setText(said.join('\n'));
    const bool shown = !pooled.empty();
    if (shown) {
        std::vector<Comparison> ladders;
        for (const PooledLadder& ladder : pooled) {
            ladders.push_back(ladder.total.comparison);
        }
        model_.setClassLadders(std::move(ladders));
        recordList_->setPooled(std::move(pooled));
        recordView_->setCurrentIndex(recordList_->index(0, 0));
    }
    if (!refusals.isEmpty()) {
        dialogs_.warn(this, QStringLiteral("記録を開けません"),
                      QStringLiteral("次のファイルはたなばしごの記録として読めませんでした。\n%1"
                                     "\n\n%2")
                          .arg(refusals.join('\n'),
                               shown ? QStringLiteral("ほかのファイルをまとめて表示しています。")
                                     : QStringLiteral("いま表示している内容はそのままです。")));
    }
}

void TheoryWindow::onClassFileLoaded() {
    recordProgress_->hide();
    RecordRead read = recordLoad_.takeRead();
    if (recordLoad_.cancelled()) {
        pooling_ = false;
        refresh();
        recordText_->setText(QStringLiteral("「%1」を読むのをやめました。").arg(recordName_));
        return;
    }
    classRecords_.take(std::move(read));
    readNextClassFile();
}

void TheoryWindow::onCancelRecord() {
    recordLoad_.cancel();
}

void TheoryWindow::onRecordProgress(std::uint64_t done, std::uint64_t size) {
    recordProgress_->setValue(
        size == 0 ? 0 : static_cast<int>(static_cast<double>(done) / size * kProgressSteps));
}

void TheoryWindow::onRecordLoaded() {
    if (pooling_) {
        onClassFileLoaded();
        return;
    }
    recordProgress_->hide();
    RecordRead read = recordLoad_.takeRead();
    refresh();
    if (recordLoad_.cancelled()) {
        recordText_->setText(QStringLiteral("「%1」を読むのをやめました。").arg(recordName_));
        return;
    }
    if (const RecordError* error = std::get_if<RecordError>(&read)) {
        recordText_->clear();
        const QString where =
            error->line > 0 ? QStringLiteral("%1 行目：").arg(error->line) : QString();
        dialogs_.warn(this, QStringLiteral("記録を開けません"),
                      QStringLiteral("「%1」はたなばしごの記録として読めませんでした。\n%2%3\n\n"
                                     "いま表示している内容はそのままです。")
                          .arg(recordName_, where, QString::fromStdString(error->japanese)));
        return;
    }
    auto& [experiments, tornLines] = std::get<RecordContents>(read);
    recordText_->setText(QString::fromStdString(tornLinesNote(tornLines).first));
    std::vector<Comparison> ladders;
    for (RecordChoice& ladder : choicesByLadder(experiments)) {
        ladders.push_back(std::move(ladder.comparison));
    }
    model_.setClassLadders(std::move(ladders));
    recordList_->setRecord(std::move(experiments), recordLoad_.takeGroups());
    recordView_->setCurrentIndex(recordList_->index(0, 0));
}

void TheoryWindow::onRecordChosen(const QModelIndex& index) {
    if (simulation_.running()) {
        return;
    }
    showFileShares(recordList_->pooledAt(index));
    if (const std::optional<RecordChoice> choice = recordList_->choiceAt(index)) {
        model_.setComparison(choice->comparison);
        refresh();
    }
}

void TheoryWindow::showFileShares(const PooledLadder* ladder) {
    sharesTable_->setVisible(ladder != nullptr);
    if (ladder == nullptr) {
        return;
    }
    sharesTable_->setRowCount(int(ladder->files.size()) + 1);
    const auto addRow = [this](int row, const std::string& name, const RecordChoice& share) {
        QStringList cells{QString::fromStdString(name), QString::number(share.experiments)};
        for (const std::uint64_t count : share.comparison.counts) {
            cells << QString::number(count);
        }
        cells << QString::number(landingsOf(share.comparison.counts));
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                               : Qt::AlignRight | Qt::AlignVCenter);
            sharesTable_->setItem(row, column, item);
        }
    };
    int row = 0;
    for (const auto& [name, share] : ladder->files) {
        addRow(row++, name, share);
    }
    addRow(row, "クラス全体", ladder->total);
    sharesTable_->resizeColumnsToContents();
    sharesTable_->resizeRowsToContents();
    // As tall as its rows, so the class's row is never scrolled away.
    int height = sharesTable_->horizontalHeader()->sizeHint().height() +
                 sharesTable_->horizontalScrollBar()->sizeHint().height() +
                 2 * sharesTable_->frameWidth();
    for (int shown = 0; shown <= row; ++shown) {
        height += sharesTable_->rowHeight(shown);
    }
    sharesTable_->setFixedHeight(height);
}

void TheoryWindow::saveAs(const QString& title, const QString& name, const QStringList& filters,
                          const std::function<std::string(const QString&)>& bytes) {
    tanabashigo::saveAs(this, dialogs_, title, name, filters, bytes);
}

namespace {

/// The chart document as the file `path` asks for: the SVG as it is, or rendered to PNG.
std::string chartFile(const QString& path, const std::string& svg, const Box& area) {
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        return svg;
    }
    return chartPng(svg, QSize(static_cast<int>(area.width), static_cast<int>(area.height)))
        .toStdString();
}

}  // namespace

void TheoryWindow::onSaveLawChart() {
    const LawChart chart = model_.lawChart();
    saveAs(QStringLiteral("確率のグラフを保存"),
           QStringLiteral("確率_横線%1本_%2本目から.png").arg(chart.rungs).arg(chart.start),
           kChartFilters, [&chart](const QString& path) {
               return chartFile(path, lawChartSvg(chart), kLawChartArea);
           });
}

void TheoryWindow::onSaveFairnessChart() {
    const FairnessChart chart = model_.fairnessChart();
    saveAs(QStringLiteral("公平さのグラフを保存"),
           QStringLiteral("公平さ_%1本目から.png").arg(chart.start), kChartFilters,
           [&chart](const QString& path) {
               return chartFile(path, fairnessChartSvg(chart), kFairnessChartArea);
           });
}

void TheoryWindow::onSaveAllLinesChart() {
    const AllLinesChart chart = model_.allLinesChart();
    saveAs(QStringLiteral("どこをひいても の図を保存"),
           QStringLiteral("どこをひいても_横線%1本.png").arg(chart.rungs), kChartFilters,
           [&chart](const QString& path) {
               return chartFile(path, allLinesChartSvg(chart), kAllLinesChartArea);
           });
}

void TheoryWindow::onSaveTable() {
    const std::string csv = model_.tableCsv();
    saveAs(QStringLiteral("表を保存"),
           QStringLiteral("表_横線%1本_%2本目から.csv").arg(model_.rungs()).arg(model_.start()),
           {QStringLiteral("CSV ファイル (*.csv)")}, [&csv](const QString&) { return csv; });
}

void TheoryWindow::onSaveWorksheet() {
    saveWorksheet(this, dialogs_, model_.worksheet());
}

void TheoryWindow::refresh() {
    {
        const QSignalBlocker sliderBlocker(rungsSlider_);
        const QSignalBlocker boxBlocker(rungsBox_);
        const QSignalBlocker startBlocker(startBox_);
        rungsSlider_->setValue(model_.rungs());
        rungsBox_->setValue(model_.rungs());
        startBox_->setValue(model_.start());
    }
    const bool running = simulation_.running();
    rungsSlider_->setEnabled(!running);
    rungsBox_->setEnabled(!running);
    startBox_->setEnabled(!running);
    const bool reading = recordLoad_.running();
    openRecordButton_->setEnabled(!running && !reading);
    cancelRecordButton_->setEnabled(reading);
    recordView_->setEnabled(!running && !reading);
    simulateButton_->setEnabled(!running && !reading);
    cancelButton_->setEnabled(running);
    fairnessText_->setText(QString::fromStdString(model_.fairnessSentence()));
    durationText_->setText(QString::fromStdString(model_.durationSentence()));
    if (const std::optional<PlainComparison> comparison = model_.plainComparison()) {
        const std::string predicted = model_.predictionSentence();
        comparisonText_->setText(QString::fromStdString(
            model_.shownComparison()->name + "と理論：" + comparison->japanese +
            (predicted.empty() ? std::string() : "\n" + predicted)));
        figuresText_->setText(QString::fromStdString(comparison->figures));
    } else {
        comparisonText_->setText(
            QStringLiteral("「実験する」か「記録を開く」で、結果を理論の確率とくらべられます。"));
        figuresText_->clear();
    }
    QStringList allLines;
    for (const std::string& sentence : model_.allLinesSentences()) {
        allLines << QString::fromStdString(sentence);
    }
    allLinesText_->setText(allLines.join(u'\n'));
    settlingText_->setText(QString::fromStdString(model_.settlingSentence()));
    settlingView_->update();
    lawView_->update();
    fairnessView_->update();
    allLinesView_->update();
}

}  // namespace tanabashigo
