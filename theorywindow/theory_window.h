#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

#include "class_records.h"
#include "record_load.h"
#include "simulation_run.h"
#include "theory_model.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTreeView;

namespace tanabashigo {

class ChartView;
class RecordList;
class TheoryDialogs;

/// 理論と実験: the exact landing law and the fairness by rung count as pictures, how long the
/// class's experiment takes, fast simulations, and the class's record against the theory.
/// The model holds the state; the window shows it and forwards what the teacher does.
class TheoryWindow : public QWidget {
    Q_OBJECT
public:
    /// `dialogs` must outlive the window; `seed` is the simulations' first seed.
    explicit TheoryWindow(TheoryDialogs& dialogs, std::uint32_t seed = 1,
                          QWidget* parent = nullptr);

    const TheoryModel& model() const { return model_; }
    SimulationRun& simulation() { return simulation_; }
    RecordLoad& recordLoad() { return recordLoad_; }
    const RecordList& recordList() const { return *recordList_; }

    /// The fewest and the most trials a simulation may have.
    static constexpr int kMinTrials = 1'000;
    static constexpr int kMaxTrials = 100'000'000;

    // What the controls are connected to.
    void onRungsChosen(int rungs);
    void onStartChosen(int start);
    /// The lesson's speed, for the durations.
    void onSpeedChosen(int speed);
    void onSimulate();
    void onCancel();
    void onSimulationProgress(std::uint64_t done, std::uint64_t total);
    void onSimulationFinished(const tanabashigo::ColumnCounts& counts);
    void onSimulationCancelled();
    void onOpenRecord();
    /// Starts reading the record at `path`, to set its newest ladder beside the law once
    /// read; warns when it cannot be read.
    void openRecord(const QString& path);
    /// Starts reading a class's record files at `paths` one after another, to pool them by
    /// ladder once all are read; one path is opened as by `openRecord`.
    void openRecords(const QStringList& paths);
    void onCancelRecord();
    void onRecordProgress(std::uint64_t done, std::uint64_t size);
    void onRecordLoaded();
    void onRecordChosen(const QModelIndex& index);
    void onSaveLawChart();
    void onSaveFairnessChart();
    void onSaveAllLinesChart();
    void onSaveTable();
    /// Brings the picture of every start line at once to the front.
    void showEveryLine();
    /// The worksheet of the counts shown, or the blank one, as one A4 page of PDF.
    void onSaveWorksheet();

private:
    /// The charts' tabs: `oneLine` (the chosen start line's charts), then every line at once.
    QTabWidget* chartTabs(QWidget* oneLine);
    QWidget* ladderControls();
    QWidget* simulationControls();
    QWidget* recordControls();
    QWidget* saveControls();
    /// Starts reading the file at `path`, showing its progress; false when it cannot start.
    bool startReading(const QString& path, bool pooled = false);
    /// Reads the class's next file, or lists the pooled ladders once all are read.
    void readNextClassFile();
    void onClassFileLoaded();
    /// Shows each file's counts of `ladder` beside the class total; hides them for none.
    void showFileShares(const PooledLadder* ladder);
    /// Shows the model's state in every control, chart and text.
    void refresh();
    void saveAs(const QString& title, const QString& name, const QStringList& filters,
                const std::function<std::string(const QString&)>& bytes);

    TheoryDialogs& dialogs_;
    TheoryModel model_;
    SimulationRun simulation_;
    SimulationRequest running_;
    RecordLoad recordLoad_;
    QString recordName_;  ///< the file being read
    ClassRecords classRecords_;
    bool pooling_ = false;  ///< whether the file being read is one of a class's several

    QSlider* rungsSlider_ = nullptr;
    QSpinBox* rungsBox_ = nullptr;
    QSpinBox* startBox_ = nullptr;
    QLabel* fairnessText_ = nullptr;
    QLabel* durationText_ = nullptr;
    QSpinBox* trialsBox_ = nullptr;
    QDoubleSpinBox* seedBox_ = nullptr;
    QPushButton* simulateButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* simulationText_ = nullptr;
    QPushButton* openRecordButton_ = nullptr;
    QPushButton* cancelRecordButton_ = nullptr;
    QProgressBar* recordProgress_ = nullptr;
    QLabel* recordText_ = nullptr;
    RecordList* recordList_ = nullptr;
    QTreeView* recordView_ = nullptr;
    QTableWidget* sharesTable_ = nullptr;
    QLabel* comparisonText_ = nullptr;
    QLabel* figuresText_ = nullptr;
    ChartView* lawView_ = nullptr;
    ChartView* fairnessView_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    ChartView* allLinesView_ = nullptr;
    QLabel* allLinesText_ = nullptr;
    ChartView* settlingView_ = nullptr;
    QComboBox* settlingColumnBox_ = nullptr;
    QLabel* settlingText_ = nullptr;
};

}  // namespace tanabashigo
