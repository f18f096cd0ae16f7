#include "form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <chrono>

#include "dialogs.h"
#include "enter_key.h"
#include "picturebox.h"
#include "rung_count_reader.h"
#include "sound_cues.h"
#include "utf8_text.h"
#include "window_texts.h"

namespace tanabashigo {
namespace {

const QColor kLadderColour(0x00, 0x00, 0x00);  // palette colour 0
const QColor kPathColour(0xFF, 0x00, 0x00);    // palette colour 12

std::int64_t steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Form1::Form1(RandomSource& random, Dialogs& dialogs, SoundCues& sounds, Form1Options options,
             QWidget* parent)
    : QWidget(parent),
      model_(random, {options.tickMs, options.paced, options.nextTrialMs}),
      dialogs_(dialogs),
      sounds_(sounds),
      options_(std::move(options)),
      gate_(options_.recorder) {
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
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
}

void Form1::setUpTimers() {
    Ticks.setSingleShot(true);
    Ticks.setTimerType(Qt::PreciseTimer);
    connect(&Ticks, &QTimer::timeout, this, &Form1::Ticks_Timer);
    Retry.setInterval(RecordGate::kRetryMs);
    connect(&Retry, &QTimer::timeout, this, &Form1::Retry_Timer);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!activationScheduled_) {
        activationScheduled_ = true;
        QTimer::singleShot(0, this, &Form1::Form_Activate);
    }
}

void Form1::Form_Load() {
    model_.load();
    gate_.startExperiment();
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
    model_.activate();
    Command2->setEnabled(false);
    sync();
    drawEmptyLadder();
    if (askRungCount()) {
        sync();
    }
}

void Form1::Command1_Click() {
    if (model_.unkept()) {
        // The landing the record refused is written first: no trial runs ahead of the record.
        if (Retry.isActive() || !keep(*model_.unkept(), gate_.retry(options_.clockMs())) ||
            !model_.controls().start) {
            return;
        }
    }
    apply(model_.start(options_.clockMs()));
    sync();
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
    sounds_.play(QStringLiteral("pinpon.wav"));
    hideAllMarkers();
    Retry.stop();
    apply(model_.initialise());
    gate_.startExperiment();
    sync();
    describeTally();
    unsetCursor();
    if (askRungCount()) {
        sync();
    }
}

void Form1::Command5_Click() {
    model_.stop();
    sync();
}

void Form1::Command6_Click() {
    sounds_.play(QStringLiteral("pinpon.wav"));
    emit helpRequested();
}

void Form1::Ticks_Timer() {
    const std::int64_t now = options_.clockMs();
    for (auto events = model_.advance(now); !events.empty() && apply(events);
         events = model_.advance(now)) {
    }
    sync();
}

void Form1::Retry_Timer() {
    const RecordGate::State state = gate_.retry(options_.clockMs());
    if (state != RecordGate::State::Waiting) {
        Retry.stop();
        if (model_.unkept()) {
            keep(*model_.unkept(), state);
        }
        Ticks_Timer();
    }
}

bool Form1::apply(const std::vector<WindowEvent>& events) {
    for (const WindowEvent& event : events) {
        switch (event.kind) {
            case WindowEvent::Kind::Cleared:
                Picture1->clear();
                drawEmptyLadder();
                Label1->clear();
                break;
            case WindowEvent::Kind::RungNumber:
                Label1->setText(QString::number(event.number));
                break;
            case WindowEvent::Kind::LadderLine:
                drawSegment(event.line, kLadderColour);
                break;
            case WindowEvent::Kind::PathLine:
                drawSegment(event.line, kPathColour);
                break;
            case WindowEvent::Kind::Counted:
            case WindowEvent::Kind::Finished:
                return keep(event, gate_.offer(event.entry, options_.clockMs()));
        }
    }
    return true;
}

bool Form1::keep(WindowEvent landing, RecordGate::State state) {
    if (state == RecordGate::State::Waiting) {
        Retry.start();
        return false;
    }
    if (state == RecordGate::State::Refused) {
        refuse();
        return false;
    }
    showLanding(landing);
    return true;
}

void Form1::showLanding(WindowEvent landing) {
    model_.landingKept(options_.clockMs());
    if (landing.kind == WindowEvent::Kind::Counted) {
        o(landing.column)[landing.number]->show();
        describeTally();
    }
    sync();
}

void Form1::refuse() {
    model_.landingRefused();
    sync();
    const RecordFault& fault = *gate_.fault();
    const QString path = QFile::decodeName(fault.path.c_str());
    dialogs_.warn(this,
                  QStringLiteral("記録ファイル「%1」に着地を書き込めませんでした。\n%2\n\n"
                                 "マーカーは記録できてから表示します。［%3］を押すと、"
                                 "もう一度書き込みます。\n\n"
                                 "The landing could not be written to the record file '%1': %4.")
                      .arg(path, QString::fromStdString(fault.japanese), Command1->text(),
                           QString::fromStdString(fault.english)),
                  QStringLiteral("記録できません"));
}

void Form1::sync() {
    const WindowControls& controls = model_.controls();
    Command1->setEnabled(controls.start);
    Command3->setEnabled(controls.quit);
    Command4->setEnabled(controls.initialise);
    Command5->setEnabled(controls.stop);
    Command6->setEnabled(controls.help);
    if (const std::optional<std::int64_t> due = model_.nextDue()) {
        const std::int64_t wait = std::clamp<std::int64_t>(*due - options_.clockMs(), 0, 1 << 30);
        Ticks.start(static_cast<int>(wait));
    } else {
        Ticks.stop();
    }
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
                model_.rungCountChosen(*rungs);
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
        columns << QStringLiteral("%1列目 %2").arg(k).arg(experiment().tally()(k));
    }
    Picture1->setAccessibleDescription(QStringLiteral("着地の数：") +
                                       columns.join(QStringLiteral("、")));
}

}  // namespace tanabashigo
