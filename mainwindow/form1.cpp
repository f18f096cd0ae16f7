#include "form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <chrono>

#include "dialogs.h"
#include "enter_key.h"
#include "landing_recorder.h"
#include "picturebox.h"
#include "rung_count_reader.h"
#include "sound_cues.h"
#include "utf8_text.h"
#include "window_texts.h"

namespace tanabashigo {
namespace {

const QColor kLadderColour(0x00, 0x00, 0x00);  // palette colour 0
const QColor kPathColour(0xFF, 0x00, 0x00);    // palette colour 12
constexpr int kNextTrialMs = 5000;

std::int64_t steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

/// Enables a timer; one already running keeps its rhythm.
void enable(QTimer& timer) {
    if (!timer.isActive()) {
        timer.start();
    }
}

}  // namespace

Form1::Form1(RandomSource& random, Dialogs& dialogs, SoundCues& sounds, Form1Options options,
             QWidget* parent)
    : QWidget(parent),
      experiment_(random),
      dialogs_(dialogs),
      sounds_(sounds),
      options_(std::move(options)) {
    if (!options_.clockMs) {
        options_.clockMs = steadyMilliseconds;
    }
    createControls();
    connectButtons();
    pressButtonsOnEnter(this);
    setUpTimers();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::connectButtons() {
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
}

void Form1::setUpTimers() {
    const std::array<std::pair<QTimer*, int>, 3> periods{
        {{&Timer1, options_.tickMs}, {&Timer2, options_.tickMs}, {&Timer3, kNextTrialMs}}};
    for (const auto& [timer, period] : periods) {
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(period);
    }
    connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(&Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
    NextTrial.setSingleShot(true);
    NextTrial.setTimerType(Qt::PreciseTimer);
    connect(&NextTrial, &QTimer::timeout, this, &Form1::NextTrial_Timer);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!activationScheduled_) {
        activationScheduled_ = true;
        QTimer::singleShot(0, this, &Form1::Form_Activate);
    }
}

void Form1::Form_Load() {
    experiment_.load();
    if (options_.recorder != nullptr) {
        options_.recorder->startExperiment();
    }
}

void Form1::Form_Activate() {
    activationScheduled_ = true;
    // Pending window events run, but not clicks and keys: the window is not ready for them,
    // and a trial started now would run behind the prompt.
    const QPointer<Form1> self(this);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!self || unloading_) {
        return;
    }
    for (QPushButton* button : {Command1, Command2, Command3, Command5}) {
        button->setEnabled(false);
    }
    drawEmptyLadder();
    if (!askRungCount()) {
        return;
    }
    Command1->setEnabled(true);
    Command3->setEnabled(true);
}

void Form1::Command1_Click() {
    if (const auto held = unrecorded_) {
        if (!record(held->first, held->second)) {
            return;
        }
        unrecorded_.reset();
        showLanding(held->first);
        if (held->first.kind == Landing::Kind::ColumnWasFull) {
            return;
        }
    }
    enable(Timer3);
    Command1->setEnabled(false);
    Command3->setEnabled(false);
    Command4->setEnabled(false);
    Command5->setEnabled(true);
    Command6->setEnabled(false);
    // A path still being traced belongs to the trial that ends here: it counts nothing.
    Timer2.stop();
    NextTrial.stop();
    pace_.trialStarted();
    experiment_.startTrial();
    Picture1->clear();
    drawEmptyLadder();
    Label1->clear();
    enable(Timer1);
}

void Form1::Command2_Click() {
    Command2->setEnabled(false);
    enable(Timer2);
}

void Form1::Command3_Click() {
    sounds_.play(QStringLiteral("endpinpon.wav"));
    const QPointer<Form1> self(this);
    const bool yes =
        dialogs_.askYesNo(this, fromUtf8(texts::kQuitQuestion), fromUtf8(texts::kQuitTitle));
    if (self && yes) {
        endProgram();
    }
}

void Form1::Command4_Click() {
    setCursor(Qt::WaitCursor);
    Command1->setEnabled(false);
    Command4->setEnabled(false);
    sounds_.play(QStringLiteral("pinpon.wav"));
    hideAllMarkers();
    experiment_.initialise();
    unrecorded_.reset();
    if (options_.recorder != nullptr) {
        options_.recorder->startExperiment();
    }
    Picture1->clear();
    drawEmptyLadder();
    Label1->clear();
    describeTally();
    unsetCursor();
    if (!askRungCount()) {
        return;
    }
    Command1->setEnabled(true);
}

void Form1::Command5_Click() {
    stopTimers();
    Command1->setEnabled(true);
    Command3->setEnabled(true);
    Command4->setEnabled(true);
    Command5->setEnabled(false);
    Command6->setEnabled(true);
}

void Form1::Command6_Click() {
    sounds_.play(QStringLiteral("pinpon.wav"));
    emit helpRequested();
}

void Form1::Timer1_Timer() {
    const LadderTick tick = experiment_.ladderTick();
    if (tick.kind == LadderTick::Kind::Complete) {
        Command2->setEnabled(true);
        Timer1.stop();
        Command2_Click();
        return;
    }
    Label1->setText(QString::number(tick.label));
    if (tick.kind == LadderTick::Kind::Placed) {
        drawSegment(tick.rung, kLadderColour);
    }
}

void Form1::Timer2_Timer() {
    const Experiment::TraceStep step = experiment_.traceTick();
    drawSegment(step.move.down, kPathColour);
    if (step.move.kind == TraceTick::Kind::Moved) {
        drawSegment(step.move.across, kPathColour);
        return;
    }
    Timer2.stop();
    if (record(step.landing, step.entry)) {
        showLanding(step.landing);
    }
}

void Form1::showLanding(const Landing& landing) {
    if (landing.kind == Landing::Kind::ColumnWasFull) {
        Command1->setEnabled(false);
        Command3->setEnabled(true);
        Command4->setEnabled(true);
        Command6->setEnabled(true);
        Command5->setEnabled(false);
        stopTimers();
        return;
    }
    o(landing.column)[landing.marker]->show();
    describeTally();
    if (const auto wait = pace_.landed(options_.clockMs())) {
        NextTrial.start(static_cast<int>(*wait));
    }
}

void Form1::Timer3_Timer() {
    if (!options_.paced) {
        Command1_Click();
        return;
    }
    const std::int64_t wait = pace_.nextTrialWait(options_.clockMs());
    if (wait == 0) {
        Command1_Click();
        return;
    }
    // The trial that was due starts from NextTrial; Timer3 counts its 5 s from there.
    Timer3.stop();
    if (wait != TrialPace::kUntilLanding) {
        NextTrial.start(static_cast<int>(wait));
    }
}

void Form1::NextTrial_Timer() {
    Command1_Click();
}

void Form1::stopTimers() {
    Timer1.stop();
    Timer2.stop();
    Timer3.stop();
    NextTrial.stop();
}

bool Form1::record(const Landing& landing, const LandingEntry& entry) {
    if (options_.recorder == nullptr) {
        return true;
    }
    const std::optional<RecordFault> fault = options_.recorder->recordLanding(entry);
    if (!fault) {
        return true;
    }
    unrecorded_ = {landing, entry};
    Command5_Click();
    const QString path = QFile::decodeName(fault->path.c_str());
    dialogs_.warn(this,
                  QStringLiteral("記録ファイル「%1」に着地を書き込めませんでした。\n%2\n\n"
                                 "マーカーは記録できてから表示します。［%3］を押すと、"
                                 "もう一度書き込みます。\n\n"
                                 "The landing could not be written to the record file '%1': %4.")
                      .arg(path, QString::fromStdString(fault->japanese), Command1->text(),
                           QString::fromStdString(fault->english)),
                  QStringLiteral("記録できません"));
    return false;
}

bool Form1::askRungCount() {
    const QPointer<Form1> self(this);
    while (!unloading_) {
        const QString answer =
            dialogs_.inputBox(this, fromUtf8(texts::kPrompt), fromUtf8(texts::kPromptTitle),
                              fromUtf8(texts::kPromptDefault));
        if (!self) {
            return false;
        }
        Answer = answer;
        if (!Answer.isEmpty()) {
            const QByteArray text = Answer.toUtf8();
            if (const auto rungs =
                    rungCountFromAnswer({text.constData(), std::size_t(text.size())})) {
                experiment_.setRungCount(*rungs);
                return true;
            }
            continue;
        }
        const bool quit =
            dialogs_.askYesNo(this, fromUtf8(texts::kQuitQuestion), fromUtf8(texts::kCancelTitle));
        if (!self) {
            return false;
        }
        if (quit) {
            endProgram();
        }
    }
    return false;
}

void Form1::endProgram() {
    unloading_ = true;
    emit endRequested();
}

void Form1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    unloading_ = unloading_ || event->isAccepted();
}

void Form1::drawEmptyLadder() {
    for (const Segment& line : emptyLadder()) {
        drawSegment(line, kLadderColour);
    }
}

void Form1::drawSegment(const Segment& segment, const QColor& colour) {
    Picture1->drawLine(segment.x1, segment.y1, segment.x2, segment.y2, colour);
}

void Form1::hideAllMarkers() {
    for (MarkerArray* column : markerColumns_) {
        for (int i = 1; i <= Tally::kColumnCapacity; ++i) {
            (*column)[i]->hide();
        }
    }
}

void Form1::describeTally() {
    QStringList columns;
    for (int k = 1; k <= kLineCount; ++k) {
        columns << QStringLiteral("%1列目 %2").arg(k).arg(experiment_.tally()(k));
    }
    Picture1->setAccessibleDescription(QStringLiteral("着地の数：") +
                                       columns.join(QStringLiteral("、")));
}

}  // namespace tanabashigo
