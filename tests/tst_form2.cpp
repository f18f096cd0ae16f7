#include <QFontMetrics>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "form2.h"
#include "picturebox.h"

using namespace tanabashigo;

namespace {

constexpr QChar kIdeographicSpace(0x3000);

/// The extent of the clearly dark pixels of an image inside an area; null when there are none.
/// Faint anti-aliasing that spills over from a neighbouring text line does not count.
QRect inkBounds(const QImage& image, const QRect& area) {
    QRect bounds;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

/// The band of the box that the given text line (1-based) occupies.
QRect lineBand(const PictureBox& box, int line) {
    const int height = QFontMetrics(box.font()).lineSpacing();
    return {0, (line - 1) * height, box.image().width(), height};
}

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT
private slots:
    void printsTheHelpLinesInOrder_data() { addHelpLineRows(); }
    void printsTheHelpLinesInOrder();
    void everyActivationShowsOneCopy();
    void controlsKeepTheirPlaces_data();
    void controlsKeepTheirPlaces();
    void captionAndTabOrder();
    void showingActivatesOnlyOnce();
    void closing_data();
    void closing();

private:
    static void addHelpLineRows();
};

void Form2Test::addHelpLineRows() {
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("leadingSpaces");
    QTest::addColumn<QString>("body");
    const QString space(kIdeographicSpace);
    QTest::newRow("1 empty") << 1 << 0 << QString();
    QTest::newRow("2 problem heading") << 2 << 1 << u"【問"_qs + space + space + u"題】"_qs;
    QTest::newRow("3") << 3 << 8 << u"みなさんは、抽選に「たなばしご」を使うことがありますか。"_qs;
    QTest::newRow("4")
        << 4 << 8
        << u"ところで、この「たなばしご」は、どこをひいてもほんとうに平等なのでしょうか。"_qs;
    QTest::newRow("5") << 5 << 8 << u"もし、平等でないとしたらどんなことが言えるのでしょうか。"_qs;
    QTest::newRow("6 empty") << 6 << 0 << QString();
    QTest::newRow("7 operation heading") << 7 << 1 << u"【操作方法】"_qs;
    QTest::newRow("8")
        << 8 << 8 << u"たなば横線本数設定のウィンドウで、たなばしごの横線の本数を整数で入力し"_qs;
    QTest::newRow("9 continues 8") << 9 << 7 << u"［ＯＫ］ボタンをクリックします。"_qs;
    QTest::newRow("10")
        << 10 << 8
        << u"［たなばしご作成・抽選の開始］ボタンをクリックすると、実験が開始されます。"_qs;
    QTest::newRow("11") << 11 << 8
                        << u"［停止］ボタンをクリックすると、たなばしご作成・抽選が止まります。"_qs;
    QTest::newRow("12") << 12 << 8
                        << u"［初期化］ボタンをクリックすると、始めから実験をやり直せます。"_qs;
}

void Form2Test::printsTheHelpLinesInOrder() {
    QFETCH(int, line);
    QFETCH(int, leadingSpaces);
    QFETCH(QString, body);
    Form2 form;
    form.Form_Activate();
    const QStringList& printed = form.Picture1->printedLines();
    QCOMPARE(printed.size(), 12);
    QCOMPARE(printed.at(line - 1), QString(leadingSpaces, kIdeographicSpace) + body);
}

void Form2Test::everyActivationShowsOneCopy() {
    Form2 form;
    PictureBox& box = *form.Picture1;
    QVERIFY(box.printedLines().isEmpty());
    QImage white(box.image().size(), box.image().format());
    white.fill(Qt::white);
    QVERIFY2(box.image() == white, "the box starts white");

    form.Form_Activate();
    const QImage once = box.image();
    QVERIFY2(!inkBounds(once, lineBand(box, 2)).isNull(), "the printed text shows");
    form.Form_Activate();
    QCOMPARE(box.printedLines().size(), 12);
    QCOMPARE(box.image(), once);
    // Nothing below the twelfth line: no second copy, no wrapped text.
    const QRect below = lineBand(box, 13).united(QRect(0, box.image().height() - 1, 1, 1));
    QVERIFY(inkBounds(box.image(), below).isNull());
}

void Form2Test::controlsKeepTheirPlaces_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("Command1") << u"Command1"_qs << QRect(560, 0, 49, 25);
    QTest::newRow("Line1") << u"Line1"_qs << QRect(8, 24, 601, 1);
    QTest::newRow("Picture1") << u"Picture1"_qs << QRect(8, 32, 601, 257);
}

void Form2Test::controlsKeepTheirPlaces() {
    QFETCH(QString, control);
    QFETCH(QRect, pixels);
    Form2 form;
    // The window grows across when the longest help line needs it; the close button keeps right.
    const int wider = form.width() - 617;
    QVERIFY(wider >= 0);
    QCOMPARE(form.height(), 297);
    pixels = control == u"Command1"_qs ? pixels.translated(wider, 0)
                                       : pixels.adjusted(0, 0, wider, 0);
    const auto* widget = form.findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), pixels);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(900, 600);
    QCoreApplication::processEvents();
    QCOMPARE(widget->geometry(), pixels);
}

void Form2Test::captionAndTabOrder() {
    Form2 form;
    QCOMPARE(form.windowTitle(), u" たなばしご＿ヘルプ（設問と操作方法）"_qs);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.Command1);
    QTest::keyClick(&form, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.Picture1);
}

void Form2Test::showingActivatesOnlyOnce() {
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    PictureBox& box = *form.Picture1;
    QTRY_COMPARE(box.printedLines().size(), 12);
    // A mark of our own: another run of the activation handler would clear it away.
    box.printLine(u"mark"_qs);

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::qWait(20);
    QCOMPARE(box.printedLines().size(), 13);
}

void Form2Test::closing_data() {
    QTest::addColumn<bool>("viaButton");
    QTest::addColumn<int>("requests");
    QTest::newRow("close button") << true << 1;
    QTest::newRow("title bar") << false << 0;
}

void Form2Test::closing() {
    QFETCH(bool, viaButton);
    QFETCH(int, requests);
    QPointer<Form2> form = new Form2;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QSignalSpy spy(form, &Form2::mainWindowRequested);
    bool shownWhenAsked = false;
    connect(form, &Form2::mainWindowRequested, this,
            [&] { shownWhenAsked = form && form->isVisible(); });
    if (viaButton) {
        QTest::mouseClick(form->Command1, Qt::LeftButton);
    } else {
        form->close();
    }
    QCOMPARE(spy.count(), requests);
    QCOMPARE(shownWhenAsked, viaButton);
    QVERIFY(!form || !form->isVisible());
    QTRY_VERIFY(form.isNull());
}

QTEST_MAIN(Form2Test)
#include "tst_form2.moc"
