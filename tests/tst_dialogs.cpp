#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs.h"
#include "form1_fixture.h"
#include "sound_cues.h"

using namespace tanabashigo;

namespace {

/// Runs `act` on the modal box as soon as it is up.
void whenModalOpens(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        act(QApplication::activeModalWidget());
    });
}

/// Answers the modal boxes that open one after another, each with the next action; the
/// timer stops once every action has run.
class ModalScript : public QObject {
public:
    explicit ModalScript(QList<std::function<void(QWidget*)>> actions)
        : actions_(std::move(actions)) {
        connect(&poll_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == handled_ || actions_.isEmpty()) {
                return;
            }
            handled_ = modal;
            actions_.takeFirst()(modal);
        });
        poll_.start(5);
    }
    bool finished() const { return actions_.isEmpty(); }

private:
    QList<std::function<void(QWidget*)>> actions_;
    QPointer<QWidget> handled_;
    QTimer poll_;
};

void answerInput(QWidget* widget, const QString& text) {
    auto* box = qobject_cast<QInputDialog*>(widget);
    QVERIFY(box);
    if (text.isNull()) {
        box->reject();
    } else {
        box->setTextValue(text);
        box->accept();
    }
}

void answerYesNo(QWidget* widget, QMessageBox::StandardButton button) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    QVERIFY(box);
    QTest::mouseClick(box->button(button), Qt::LeftButton);
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void inputBoxShowsItsTextsAndReturnsTheAnswer_data();
    void inputBoxShowsItsTextsAndReturnsTheAnswer();
    void yesNoBoxDefaultsToYes_data();
    void yesNoBoxDefaultsToYes();
    void mainWindowAsksThroughTheRealBoxes();
    void cuesAreFoundInOrder_data();
    void cuesAreFoundInOrder();
    void builtInCuesAreWaveFiles_data();
    void builtInCuesAreWaveFiles();
};

void DialogsTest::inputBoxShowsItsTextsAndReturnsTheAnswer_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("result");
    QTest::newRow("default kept") << QString() << true << "50";
    QTest::newRow("typed answer") << "２５" << true << "２５";
    QTest::newRow("cancelled") << "25" << false << "";
}

void DialogsTest::inputBoxShowsItsTextsAndReturnsTheAnswer() {
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QString, result);
    QString title;
    QString label;
    QString initial;
    whenModalOpens([&](QWidget* widget) {
        auto* box = qobject_cast<QInputDialog*>(widget);
        QVERIFY(box);
        title = box->windowTitle();
        label = box->labelText();
        initial = box->textValue();
        if (!typed.isNull()) {
            box->setTextValue(typed);
        }
        accept ? box->accept() : box->reject();
    });
    QtDialogs dialogs;
    const QString answer =
        dialogs.inputBox(nullptr, QStringLiteral("10以上50以下の整数を入力してください．．．"),
                         QStringLiteral(" たなば横線本数の設定"), QStringLiteral("50"));
    QCOMPARE(answer, result);
    QCOMPARE(answer.isEmpty(), !accept);
    QCOMPARE(title, QStringLiteral(" たなば横線本数の設定"));
    QCOMPARE(label, QStringLiteral("10以上50以下の整数を入力してください．．．"));
    QCOMPARE(initial, QStringLiteral("50"));
}

void DialogsTest::yesNoBoxDefaultsToYes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Enter takes the default") << int(Qt::Key_Return) << true;
    QTest::newRow("Escape says no") << int(Qt::Key_Escape) << false;
    QTest::newRow("the No button") << 0 << false;
}

void DialogsTest::yesNoBoxDefaultsToYes() {
    QFETCH(int, key);
    QFETCH(bool, yes);
    QString title;
    QString text;
    QStringList captions;
    QMessageBox::Icon icon = QMessageBox::Warning;
    whenModalOpens([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (const QAbstractButton* button : box->buttons()) {
            captions << button->text();
        }
        if (key != 0) {
            QTest::keyClick(box, Qt::Key(key));
        } else {
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        }
    });
    QtDialogs dialogs;
    QCOMPARE(
        dialogs.askYesNo(nullptr, QStringLiteral("終了していいですか？"), QStringLiteral("確認")),
        yes);
    QCOMPARE(title, QStringLiteral("確認"));
    QCOMPARE(text, QStringLiteral("終了していいですか？"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    captions.sort();
    QCOMPARE(captions, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));
}

void DialogsTest::mainWindowAsksThroughTheRealBoxes() {
    RandomSource random(1);
    QtDialogs dialogs;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    QSignalSpy ended(&form, &Form1::endRequested);
    ModalScript script({[](QWidget* w) { answerInput(w, QString()); },
                        [](QWidget* w) { answerYesNo(w, QMessageBox::No); },
                        [](QWidget* w) { answerInput(w, QStringLiteral("　２０本")); }});
    form.Form_Activate();
    QVERIFY(script.finished());
    QCOMPARE(int(form.experiment().ladder().rungCount()), 20);
    QCOMPARE(ended.count(), 0);
    QVERIFY(form.Command1->isEnabled());
}

void DialogsTest::cuesAreFoundInOrder_data() {
    QTest::addColumn<QList<bool>>("holdsFile");  // for each searched folder
    QTest::addColumn<int>("found");              // folder index, -1 for the built-in copy
    QTest::newRow("working directory first") << QList<bool>{true, true, true} << 0;
    QTest::newRow("beside the program") << QList<bool>{false, true, true} << 1;
    QTest::newRow("data folder") << QList<bool>{false, false, true} << 2;
    QTest::newRow("built-in copy") << QList<bool>{false, false, false} << -1;
}

void DialogsTest::cuesAreFoundInOrder() {
    QFETCH(QList<bool>, holdsFile);
    QFETCH(int, found);
    QTemporaryDir root;
    QStringList folders;
    for (int i = 0; i < holdsFile.size(); ++i) {
        const QString folder = root.filePath(QString::number(i));
        QVERIFY(QDir().mkpath(folder));
        if (holdsFile[i]) {
            QVERIFY(QFile::copy(QStringLiteral(":/sounds/pinpon.wav"),
                                folder + QStringLiteral("/pinpon.wav")));
        }
        folders << folder;
    }
    // A folder holding a directory of that name does not count.
    QVERIFY(QDir(folders[0]).mkpath(QStringLiteral("endpinpon.wav")));
    const QUrl url = soundLocation(QStringLiteral("pinpon.wav"), folders);
    if (found < 0) {
        QCOMPARE(url, QUrl(QStringLiteral("qrc:/sounds/pinpon.wav")));
    } else {
        QCOMPARE(url, QUrl::fromLocalFile(folders[found] + QStringLiteral("/pinpon.wav")));
    }
    QCOMPARE(soundLocation(QStringLiteral("endpinpon.wav"), folders),
             QUrl(QStringLiteral("qrc:/sounds/endpinpon.wav")));
}

void DialogsTest::builtInCuesAreWaveFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("pinpon") << "pinpon.wav";
    QTest::newRow("endpinpon") << "endpinpon.wav";
}

void DialogsTest::builtInCuesAreWaveFiles() {
    QFETCH(QString, name);
    QFile file(QStringLiteral(":/sounds/") + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(12);
    QVERIFY(header.startsWith("RIFF"));
    QCOMPARE(header.mid(8, 4), QByteArray("WAVE"));
    QVERIFY(file.size() > 10000);
}

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
