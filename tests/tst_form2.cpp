#include <QFontMetrics>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "form2.h"
#include "picturebox.h"

using namespace tanabashigo;

namespace {

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
    void everyActivationShowsOneCopy();
    void showingActivatesOnlyOnce();
    void closing_data();
    void closing();
};

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
