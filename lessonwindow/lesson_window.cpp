#include "lesson_window.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <numeric>

#include "dialogs.h"
#include "landing_recorder.h"
#include "lesson_help.h"
#include "lesson_keys.h"
#include "lesson_layout.h"
#include "lesson_look.h"
#include "lesson_surface.h"
#include "lesson_texts.h"
#include "rung_count_reader.h"
#include "screen_fit.h"
#include "theory_dialogs.h"
#include "theory_window.h"

namespace tanabashigo {

namespace {

QPushButton* panelButton(const QString& text) {
    auto* button = new QPushButton(text);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

/// A spin box that hands the keys back to the window once a value is entered.
QSpinBox* panelSpinBox(int least, int most, const QString& suffix, QWidget* keys) {
    auto* box = new QSpinBox;
    box->setRange(least, most);
    box->setSuffix(suffix);
    box->setFocusPolicy(Qt::ClickFocus);
    QObject::connect(box, &QSpinBox::editingFinished, keys, [keys] { keys->setFocus(); });
    return box;
}

/// What `widget` does with the keys the lesson answers.
FocusKind focusKind(const QWidget* widget) {
    if (qobject_cast<const QAbstractSpinBox*>(widget) != nullptr) {
        return FocusKind::SpinBox;
    }
    if (qobject_cast<const QLineEdit*>(widget) != nullptr) {
        return FocusKind::TextField;
    }
    if (qobject_cast<const QAbstractButton*>(widget) != nullptr) {
        return FocusKind::Button;
    }
    if (qobject_cast<const QAbstractSlider*>(widget) != nullptr) {
        return FocusKind::Slider;
    }
    if (qobject_cast<const QComboBox*>(widget) != nullptr) {
        return FocusKind::Choice;
    }
    return FocusKind::None;
}

/// The lesson key `event` presses, if it is one.
std::optional<LessonKey> lessonKey(const QKeyEvent& event) {
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return std::nullopt;
    }
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return LessonKey::Enter;
        case Qt::Key_Space:
            return LessonKey::Space;
        case Qt::Key_Right:
            return LessonKey::Right;
        default:
            return std::nullopt;
    }
}

}  // namespace

LessonWindow::LessonWindow(Dialogs& dialogs, LessonOptions options, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      options_(std::move(options)),
      lesson_(options_.seed),
      gate_(options_.recorder),
      theoryDialogs_(std::make_unique<QtTheoryDialogs>()),
      settings_(
          options_.settingsFile.isEmpty()
              ? std::make_unique<QSettings>(QStringLiteral("tanabashigo"), QStringLiteral("lesson"))
              : std::make_unique<QSettings>(options_.settingsFile, QSettings::IniFormat)) {
    setWindowTitle(QStringLiteral("たなばしご　授業用"));
    elapsed_.start();
    lesson_.setRungCount(options_.rungs.value_or(50));
    lesson_.setStartLine(options_.startLine);
    lesson_.setSpeed(options_.speed);
    surface_ = new LessonSurface(lesson_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(surface_, 1);
    layout->addWidget(controlPanel());
    panelBack_ = panelButton(QStringLiteral("操作"));
    panelBack_->setAccessibleName(QStringLiteral("操作パネルを出す"));
    panelBack_->hide();
    connect(panelBack_, &QPushButton::clicked, this, [this] { onQuietChosen(false); });
    layout->addWidget(panelBack_);
    addHandsButtons();
    addKeys();
    dueTimer_.setSingleShot(true);
    dueTimer_.setTimerType(Qt::PreciseTimer);
    connect(&dueTimer_, &QTimer::timeout, this, &LessonWindow::onDue);
    retryTimer_.setInterval(RecordGate::kRetryMs);
    connect(&retryTimer_, &QTimer::timeout, this, &LessonWindow::onRetry);
    gate_.startExperiment();
    resize(1000, 740);
    refresh();
    surface_->setFocus();
}

LessonWindow::~LessonWindow() = default;

TheoryWindow* LessonWindow::theoryWindow() const {
    return theory_;
}

TheoryDialogs& LessonWindow::fileDialogs() const {
    return options_.fileDialogs != nullptr ? *options_.fileDialogs : *theoryDialogs_;
}

std::optional<Worksheet> LessonWindow::worksheet() const {
    // What the record holds: a landing held back is not in it yet.
    const bool finished = lesson_.isFinished();
    const int held = surface_->heldColumn();
    ColumnCounts shown{};
    for (int column = 1; column <= kLineCount; ++column) {
        shown[column] = std::uint64_t(lesson_.count(column) - (column == held && !finished));
    }
    return lessonWorksheet(lesson_.rungCount(), lesson_.startLine(),
                           lesson_.startLineChoice() != StartLineChoice::Same, shown,
                           finished && held == 0 ? lesson_.endColumn() : 0, lesson_.prediction());
}

void LessonWindow::onSaveWorksheet() {
    holdForQuestion();
    if (const std::optional<Worksheet> sheet = worksheet()) {
        saveWorksheet(this, fileDialogs(), *sheet);
    } else {
        dialogs_.warn(this,
                      QString::fromUtf8(kNoWorksheetOfChangingLines.data(),
                                        qsizetype(kNoWorksheetOfChangingLines.size())),
                      QStringLiteral("ワークシート"));
    }
    questionAnswered();
}

QWidget* LessonWindow::controlPanel() {
    panel_ = new QWidget;
    startButton_ = panelButton(QString());
    pauseButton_ = panelButton(QString());
    stepButton_ = panelButton(QStringLiteral("1段ずつ（→）"));
    speedSlider_ = new QSlider(Qt::Horizontal);
    speedSlider_->setRange(kSlowestSpeed, kFastestSpeed);
    speedSlider_->setPageStep(1);
    speedSlider_->setTickPosition(QSlider::TicksBelow);
    speedSlider_->setFocusPolicy(Qt::NoFocus);
    speedSlider_->setValue(lesson_.speed());
    speedSlider_->setAccessibleName(QStringLiteral("速さ"));
    rungsBox_ = panelSpinBox(0, Ladder::kCapacity, QStringLiteral(" 本"), surface_);
    rungsBox_->setValue(lesson_.rungCount());
    rungsBox_->setAccessibleName(QStringLiteral("横線の本数"));
    startBox_ = panelSpinBox(1, kLineCount, QStringLiteral(" 本目"), surface_);
    startBox_->setValue(lesson_.startLine());
    startBox_->setAccessibleName(QStringLiteral("スタートの線"));
    startChoiceBox_ = new QComboBox;
    for (const std::string_view name : texts::kStartLineChoices) {
        startChoiceBox_->addItem(QString::fromUtf8(name.data(), qsizetype(name.size())));
    }
    startChoiceBox_->setFocusPolicy(Qt::ClickFocus);
    startChoiceBox_->setAccessibleName(QStringLiteral("スタートの線の決め方"));
    coloursBox_ = new QComboBox;
    coloursBox_->setObjectName(QStringLiteral("pathColours"));
    for (const PathColours& colours : kPathColours) {
        coloursBox_->addItem(
            QString::fromUtf8(colours.name.data(), qsizetype(colours.name.size())));
    }
    coloursBox_->setFocusPolicy(Qt::NoFocus);
    coloursBox_->setAccessibleName(QStringLiteral("線と印の色"));
    coloursBox_->setCurrentIndex(settings_->value(QStringLiteral("lesson/colours"), 0).toInt());
    surface_->setColours(coloursBox_->currentIndex());
    room_.sound = settings_->value(QStringLiteral("lesson/sound"), false).toBool();
    soundBox_ = new QCheckBox(QStringLiteral("着地の音を鳴らす"));
    soundBox_->setFocusPolicy(Qt::NoFocus);
    soundBox_->setChecked(room_.sound);
    auto* quietButton = panelButton(QStringLiteral("プロジェクター用（静か）"));
    auto* worksheetButton = panelButton(QStringLiteral("ワークシート（PDF）"));
    auto* initialiseButton = panelButton(QStringLiteral("初期化"));
    auto* theoryButton = panelButton(QStringLiteral("理論と実験（Ctrl+T）"));
    auto* fullScreenButton = panelButton(QStringLiteral("全画面（F11）"));
    auto* helpButton = panelButton(QStringLiteral("HELP"));
    auto* quitButton = panelButton(QStringLiteral("終了"));
    connect(startButton_, &QPushButton::clicked, this, &LessonWindow::onStart);
    connect(pauseButton_, &QPushButton::clicked, this, &LessonWindow::onPauseOrResume);
    connect(stepButton_, &QPushButton::clicked, this, &LessonWindow::onStep);
    connect(speedSlider_, &QSlider::valueChanged, this, &LessonWindow::onSpeedChosen);
    connect(rungsBox_, &QSpinBox::valueChanged, this, &LessonWindow::onRungsChosen);
    connect(startBox_, &QSpinBox::valueChanged, this, &LessonWindow::onStartLineChosen);
    connect(startChoiceBox_, &QComboBox::activated, this, &LessonWindow::onStartLineChoiceChosen);
    connect(coloursBox_, &QComboBox::currentIndexChanged, this, &LessonWindow::onColoursChosen);
    connect(soundBox_, &QCheckBox::toggled, this, &LessonWindow::onSoundChosen);
    connect(quietButton, &QPushButton::clicked, this, [this] { onQuietChosen(true); });
    connect(worksheetButton, &QPushButton::clicked, this, &LessonWindow::onSaveWorksheet);
    connect(initialiseButton, &QPushButton::clicked, this, &LessonWindow::onInitialise);
    connect(theoryButton, &QPushButton::clicked, this, &LessonWindow::onTheory);
    connect(fullScreenButton, &QPushButton::clicked, this, &LessonWindow::onFullScreen);
    connect(helpButton, &QPushButton::clicked, this, &LessonWindow::onHelp);
    connect(quitButton, &QPushButton::clicked, this, &QWidget::close);

    auto* speedEnds = new QHBoxLayout;
    speedEnds->addWidget(new QLabel(QStringLiteral("ゆっくり")));
    speedEnds->addStretch();
    speedEnds->addWidget(new QLabel(QStringLiteral("はやい")));
    auto* layout = new QVBoxLayout(panel_);
    for (QWidget* widget : {startButton_, pauseButton_, stepButton_}) {
        layout->addWidget(widget);
    }
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("速さ")));
    layout->addWidget(speedSlider_);
    layout->addLayout(speedEnds);
    layout->addWidget(new QLabel(QStringLiteral("横線の本数")));
    layout->addWidget(rungsBox_);
    layout->addWidget(new QLabel(QStringLiteral("スタートの線")));
    layout->addWidget(startBox_);
    layout->addWidget(new QLabel(QStringLiteral("線の決め方")));
    layout->addWidget(startChoiceBox_);
    layout->addWidget(new QLabel(QStringLiteral("線と印の色")));
    layout->addWidget(coloursBox_);
    layout->addWidget(soundBox_);
    layout->addWidget(quietButton);
    crowdedNote_ = new QLabel;
    crowdedNote_->setObjectName(QStringLiteral("crowdedNote"));
    crowdedNote_->setWordWrap(true);
    crowdedNote_->setStyleSheet(QStringLiteral("color: #a04000"));
    crowdedNote_->hide();
    layout->addWidget(crowdedNote_);
    layout->addStretch();
    for (QWidget* widget : {worksheetButton, initialiseButton, theoryButton, fullScreenButton,
                            helpButton, quitButton}) {
        layout->addWidget(widget);
    }
    return panel_;
}

void LessonWindow::addHandsButtons() {
    for (int column = 1; column <= kLineCount; ++column) {
        for (const int change : {-1, 1}) {
            auto* button =
                new QPushButton(change < 0 ? QStringLiteral("−") : QStringLiteral("＋"), surface_);
            // Like the panel's buttons, they leave the keys with the lesson.
            button->setFocusPolicy(Qt::NoFocus);
            button->setAutoRepeat(true);
            button->setAccessibleName(
                QStringLiteral("%1 の列の予想を 1 人%2")
                    .arg(column)
                    .arg(change < 0 ? QStringLiteral("へらす") : QStringLiteral("ふやす")));
            connect(button, &QPushButton::clicked, this,
                    [this, column, change] { onHandsChanged(column, change); });
            handsButtons_.push_back(button);
        }
    }
    surface_->installEventFilter(this);
    placeHandsButtons();
}

void LessonWindow::placeHandsButtons() {
    const LessonLayout layout(surface_->size());
    for (std::size_t i = 0; i < handsButtons_.size(); ++i) {
        QPushButton* button = handsButtons_[i];
        button->setGeometry(layout.handsButton(int(i / 2) + 1, i % 2 == 1).toRect());
        QFont font = button->font();
        font.setPixelSize(std::max(8, int(button->height() * 0.6)));
        font.setBold(true);
        button->setFont(font);
    }
}

void LessonWindow::onHandsChanged(int column, int change) {
    if (lesson_.predictionOpen()) {
        lesson_.setHands(column, lesson_.prediction().hands[column] + change);
    }
    refresh();
}

void LessonWindow::addKeys() {
    const auto key = [this](QKeySequence sequence, void (LessonWindow::*slot)()) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, slot);
    };
    // Enter, Space and → go by the focus and by what lies in front: see eventFilter().
    qApp->installEventFilter(this);
    key(Qt::CTRL | Qt::Key_T, &LessonWindow::onTheory);
    key(Qt::Key_F11, &LessonWindow::onFullScreen);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, [this] {
        if (isFullScreen()) {
            onFullScreen();
        }
    });
}

bool LessonWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == surface_ && event->type() == QEvent::Resize) {
        placeHandsButtons();
    }
    // Only where the key first arrives: the focus may move before it travels on to the parents.
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    if (event->type() != QEvent::KeyPress || widget == nullptr || widget->window() != this ||
        widget != (focus != nullptr ? focus : this)) {
        return false;
    }
    const std::optional<LessonKey> key = lessonKey(*static_cast<QKeyEvent*>(event));
    const bool covered = QApplication::activeModalWidget() != nullptr ||
                         QApplication::activePopupWidget() != nullptr ||
                         QApplication::activeWindow() != this;
    if (!key || !keyGoesToLesson(*key, focusKind(focus), covered)) {
        return false;
    }
    switch (*key) {
        case LessonKey::Enter:
            onStart();
            break;
        case LessonKey::Space:
            onPauseOrResume();
            break;
        case LessonKey::Right:
            onStep();
            break;
    }
    return true;
}

double LessonWindow::now() const {
    return options_.clockMs ? options_.clockMs() : double(elapsed_.nsecsElapsed()) / 1e6;
}

void LessonWindow::onStart() {
    if (release()) {
        take(lesson_.start(now()));
    }
}

void LessonWindow::onPauseOrResume() {
    if (lesson_.isPaused() ? release() && (lesson_.resume(now()), true)
                           : (lesson_.pause(now()), true)) {
        take({});
    }
}

void LessonWindow::onStep() {
    if (release()) {
        take(lesson_.step(now()));
    }
}

void LessonWindow::onDue() {
    take(lesson_.advance(now()));
}

bool LessonWindow::release() {
    if (!gate_.holding() || retryTimer_.isActive()) {
        return !gate_.holding();
    }
    const RecordGate::State state = gate_.retry(std::int64_t(now()));
    if (state == RecordGate::State::Waiting) {
        retryTimer_.start();
    } else if (state == RecordGate::State::Refused) {
        refuse();
    } else {
        landingKept();
    }
    return state == RecordGate::State::Kept;
}

void LessonWindow::onRetry() {
    const RecordGate::State state = gate_.retry(std::int64_t(now()));
    if (state == RecordGate::State::Waiting) {
        return;
    }
    retryTimer_.stop();
    if (state == RecordGate::State::Refused) {
        refuse();
        return;
    }
    landingKept();
    take(lesson_.advance(now()));
}

void LessonWindow::landingKept() {
    surface_->holdBack(0);
    recorded_ = true;
    playHeldCue();
}

void LessonWindow::playHeldCue() {
    const std::string_view cue = std::exchange(heldCue_, {});
    if (!cue.empty() && options_.playCue) {
        options_.playCue(QString::fromLatin1(cue.data(), qsizetype(cue.size())));
    }
}

void LessonWindow::refuse() {
    lesson_.pause(now());
    dueTimer_.stop();
    refresh();
    const RecordFault& fault = *gate_.fault();
    dialogs_.warn(
        this,
        QStringLiteral("記録ファイル「%1」に着地を書き込めませんでした。\n%2\n\n"
                       "印は記録できてから表示します。［再開］を押すと、もう一度書き込み"
                       "ます。\n\nThe landing could not be written to the record file "
                       "'%1': %3.")
            .arg(QFile::decodeName(fault.path.c_str()), QString::fromStdString(fault.japanese),
                 QString::fromStdString(fault.english)),
        QStringLiteral("記録できません"));
}

void LessonWindow::onSpeedChosen(int speed) {
    lesson_.setSpeed(roomSpeed(room_, speed));
    take({});
}

void LessonWindow::onRungsChosen(int rungs) {
    if (rungs != lesson_.rungCount() &&
        mayClear(QStringLiteral("横線の本数を変えると、いまの印は消えます。変えますか？"))) {
        lesson_.setRungCount(rungs);
    }
    refresh();
}

void LessonWindow::onStartLineChosen(int line) {
    if (line != lesson_.startLine() &&
        mayClear(QStringLiteral("スタートの線を変えると、いまの印は消えます。変えますか？"))) {
        lesson_.setStartLine(line);
    }
    refresh();
}

void LessonWindow::onStartLineChoiceChosen(int index) {
    const auto choice = static_cast<StartLineChoice>(index);
    if (choice != lesson_.startLineChoice() &&
        mayClear(
            QStringLiteral("スタートの線の決め方を変えると、いまの印は消えます。変えますか？"))) {
        lesson_.setStartLineChoice(choice);
    }
    refresh();
    surface_->setFocus();  // the keys go back to the lesson once the choice is made
}

void LessonWindow::onColoursChosen(int choice) {
    surface_->setColours(choice);
    settings_->setValue(QStringLiteral("lesson/colours"), choice);
}

void LessonWindow::onSoundChosen(bool on) {
    room_.sound = on;
    settings_->setValue(QStringLiteral("lesson/sound"), on);
}

void LessonWindow::onQuietChosen(bool on) {
    room_.quiet = on;
    panel_->setVisible(!on);
    panelBack_->setVisible(on);
    lesson_.setSpeed(roomSpeed(room_, speedSlider_->value()));
    take({});
    surface_->setFocus();
}

void LessonWindow::onInitialise() {
    mayClear(lesson_.prediction().empty()
                 ? QStringLiteral("印をすべて消して、はじめからにしますか？")
                 : QStringLiteral("印とクラスの予想をすべて消して、はじめからにしますか？"));
    refresh();
}

bool LessonWindow::mayClear(const QString& question) {
    if (!ask(question, QStringLiteral("たなばしご"))) {
        return false;
    }
    initialise();
    return true;
}

bool LessonWindow::ask(const QString& question, const QString& title) {
    const std::vector<int> counts = lesson_.counts();
    if (std::accumulate(counts.begin(), counts.end(), 0) == 0) {
        return true;
    }
    holdForQuestion();
    const bool yes = dialogs_.askYesNo(this, question, title);
    if (!yes) {
        questionAnswered();
    }
    return yes;
}

void LessonWindow::holdForQuestion() {
    lesson_.holdForQuestion(now());
    take({});
}

void LessonWindow::questionAnswered() {
    lesson_.questionAnswered(now());
    take({});
}

void LessonWindow::initialise() {
    lesson_.initialise();
    retryTimer_.stop();
    gate_.startExperiment();
    surface_->holdBack(0);
    heldCue_ = {};
    take({});
}

void LessonWindow::onTheory() {
    if (!theory_) {
        theory_ = new TheoryWindow(fileDialogs(), options_.seed, this);
        theory_->setWindowFlag(Qt::Window);
        theory_->setAttribute(Qt::WA_DeleteOnClose);
    }
    theory_->onStartChosen(lesson_.startLine());
    theory_->onRungsChosen(lesson_.rungCount());
    theory_->onSpeedChosen(lesson_.speed());
    if (recorded_ && QFile::exists(options_.recordPath)) {
        theory_->openRecord(options_.recordPath);  // once read, its newest ladder: the lesson's
    }
    if (lesson_.startLineChoice() != StartLineChoice::Same) {
        theory_->showEveryLine();  // the picture the changing start lines fill
    }
    fitAndCentre(theory_, screen());
    theory_->show();
    theory_->raise();
    theory_->activateWindow();
}

void LessonWindow::onHelp() {
    holdForQuestion();
    auto* help = new LessonHelp(this);
    connect(help, &LessonHelp::closed, this, &LessonWindow::questionAnswered);
    fitAndCentre(help, screen());
    help->show();
}

void LessonWindow::onFullScreen() {
    isFullScreen() ? showNormal() : showFullScreen();
}

void LessonWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!asked_) {
        asked_ = true;
        if (!options_.rungs) {
            QTimer::singleShot(0, this, &LessonWindow::askRungCount);
        }
    }
}

void LessonWindow::askRungCount() {
    for (;;) {
        const QString answer =
            dialogs_.inputBox(this, QStringLiteral("横線の本数を 0〜225 で入力してください。"),
                              QStringLiteral("横線の本数"), QString::number(lesson_.rungCount()));
        if (answer.isEmpty()) {
            return;
        }
        const QByteArray text = answer.toUtf8();
        if (const auto rungs = rungCountFromAnswer({text.constData(), std::size_t(text.size())}, 0,
                                                   Ladder::kCapacity)) {
            rungsBox_->setValue(*rungs);
            return;
        }
    }
}

void LessonWindow::closeEvent(QCloseEvent* event) {
    if (!closing_ &&
        !ask(QStringLiteral("画面の印は消えます。終了しますか？"), QStringLiteral("終了"))) {
        event->ignore();
        return;
    }
    closing_ = true;
    dueTimer_.stop();
    retryTimer_.stop();
    QWidget::closeEvent(event);
}

void LessonWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    QFont font = panel_->font();
    font.setPixelSize(std::max(13, height() / 38));
    panel_->setFont(font);
    panelBack_->setFont(font);
    showCrowding();
}

void LessonWindow::take(const std::vector<LessonEvent>& events) {
    for (const LessonEvent& event : events) {
        heldCue_ = lessonChime(room_, event.kind);
        if (options_.recorder == nullptr ||
            (event.kind != LessonEvent::Kind::Landed && event.kind != LessonEvent::Kind::Ended)) {
            playHeldCue();
            continue;
        }
        // No marker shows, and no chime sounds, before its line is in the record, the
        // prediction ahead of the first.
        surface_->holdBack(event.column);
        gate_.predict(lesson_.prediction());
        const RecordGate::State state = gate_.offer(event.entry, std::int64_t(now()));
        if (state == RecordGate::State::Waiting) {
            dueTimer_.stop();
            retryTimer_.start();
            refresh();
            return;
        }
        if (state == RecordGate::State::Refused) {
            refuse();
            return;
        }
        landingKept();
    }
    refresh();
    const double due = lesson_.nextDueMs();
    if (due == Lesson::kNothingDue) {
        dueTimer_.stop();
    } else {
        dueTimer_.start(std::max(0, static_cast<int>(std::ceil(due - now()))));
    }
}

void LessonWindow::refresh() {
    const bool finished = lesson_.isFinished();
    const bool running = lesson_.isRunning();
    startButton_->setText(lesson_.isPaused() ? QStringLiteral("再開（Enter）")
                                             : QStringLiteral("開始（Enter）"));
    startButton_->setEnabled(!finished && (!running || lesson_.isPaused()));
    pauseButton_->setText(lesson_.isPaused() ? QStringLiteral("再開（Space）")
                                             : QStringLiteral("一時停止（Space）"));
    pauseButton_->setEnabled(running);
    stepButton_->setEnabled(!finished);
    for (QPushButton* button : handsButtons_) {
        button->setVisible(lesson_.predictionOpen());
    }
    const QSignalBlocker rungsBlocker(rungsBox_);
    const QSignalBlocker startBlocker(startBox_);
    rungsBox_->setValue(lesson_.rungCount());
    // While the line changes from trial to trial, the box shows the line of the trial on view.
    const bool sameLine = lesson_.startLineChoice() == StartLineChoice::Same;
    startBox_->setValue(sameLine ? lesson_.startLine() : lesson_.markedStartLine());
    startBox_->setEnabled(sameLine);
    startChoiceBox_->setCurrentIndex(static_cast<int>(lesson_.startLineChoice()));
    showCrowding();
    surface_->update();
}

void LessonWindow::showCrowding() {
    const LessonLayout layout(surface_->size());
    const int legible = pathLook(layout.unitPx(), layout.lineWidth, 0).legibleRungs;
    const std::string note = crowdedRungsNote(lesson_.rungCount(), legible);
    crowdedNote_->setText(QString::fromStdString(note));
    crowdedNote_->setVisible(!note.empty());
}

}  // namespace tanabashigo
