#include <QLabel>
#include <QTest>

#include "form1_fixture.h"
#include "picturebox.h"
#include "tracer.h"

using namespace tanabashigo;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(0xFF, 0, 0);

/// Pixel column of ladder line k, pixel row of ladder height y, in the surface's client area.
int pixelX(int k) {
    return 49 * lineX(k);
}
int pixelY(double y) {
    return qRound(y * 67.95 / 15.0);
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void aTrialDrawsTheLadderAndThePathAndCountsOneLanding();
    void activatesOnceAfterBeingShown();
};

void Form1Test::aTrialDrawsTheLadderAndThePathAndCountsOneLanding() {
    RandomSource random(2026);
    ScriptedDialogs dialogs;
    dialogs.answers << QStringLiteral("12");
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    form.Form_Activate();
    form.Command1_Click();
    QStringList labels;
    while (form.Timer1.isActive()) {
        form.Timer1_Timer();
        if (labels.isEmpty() || labels.last() != form.Label1->text()) {
            labels << form.Label1->text();
        }
    }
    QCOMPARE(labels.join(QLatin1Char(' ')), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));

    const Ladder ladder = form.experiment().ladder();
    QImage image = form.Picture1->image();
    for (int k = 1; k <= kLineCount; ++k) {
        for (int y = pixelY(kTopY); y <= pixelY(kBottomY); ++y) {
            QCOMPARE(image.pixel(pixelX(k), y), kBlack);
        }
        QVERIFY(image.pixel(pixelX(k), pixelY(kTopY) - 1) != kBlack);
        QVERIFY(image.pixel(pixelX(k), pixelY(kBottomY) + 1) != kBlack);
    }
    for (int i = 1; i <= ladder.rungCount(); ++i) {
        const Segment rung = ladder.rungLine(i);
        QCOMPARE(image.pixel(pixelX(rung.x1 - 1) + 24, pixelY(rung.y1)), kBlack);
    }

    tracePath(form);
    image = form.Picture1->image();
    Tracer tracer;
    TraceTick tick;
    do {
        tick = tracer.tick(ladder);
        QCOMPARE(image.pixel(pixelX(tick.down.x1 - 1), pixelY((tick.down.y1 + tick.down.y2) / 2.0)),
                 kRed);
        if (tick.kind == TraceTick::Kind::Moved) {
            QCOMPARE(image.pixel(pixelX(tick.across.x1 - 1) + 24, pixelY(tick.across.y1)), kRed);
        }
    } while (tick.kind == TraceTick::Kind::Moved);
    QCOMPARE(image.pixel(pixelX(tick.column), pixelY(kBottomY)), kRed);

    for (int k = 1; k <= kLineCount; ++k) {
        QCOMPARE(visibleMarkers(form, k), k == tick.column ? QList<int>{1} : QList<int>{});
    }
    // What the surface shows on screen: its picture inside the edge, the marker on top.
    const QImage shot = form.Picture1->grab().toImage();
    const QPoint origin = form.Picture1->contentsRect().topLeft();
    for (int y = pixelY(kTopY); y <= pixelY(kBottomY); y += 7) {
        for (int x = 0; x < image.width(); ++x) {
            QCOMPARE(shot.pixel(origin + QPoint(x, y)), image.pixel(x, y));
        }
    }
    const QRect marker = form.o(tick.column)[1]->geometry();
    QCOMPARE(shot.pixel(marker.center()), kRed);
    QVERIFY(shot.pixel(marker.center() - QPoint(0, 8)) != kRed);
    QVERIFY(form.Picture1->accessibleDescription().contains(
        QStringLiteral("%1列目 1").arg(tick.column)));
}

void Form1Test::activatesOnceAfterBeingShown() {
    RandomSource random(1);
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    form.show();
    QTRY_COMPARE(dialogs.prompts, 1);
    form.hide();
    form.show();
    form.activateWindow();
    QTest::qWait(20);
    QCOMPARE(dialogs.prompts, 1);
    QCOMPARE(buttonStates(form), QStringLiteral("101001"));
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
