#include <QTest>

#include <cmath>
#include <limits>

#include "rung_count_reader.h"

using namespace tanabashigo;

class RungCountReaderTest : public QObject {
    Q_OBJECT
private slots:
    void readsTheLeadingNumberAndTheRungCount_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rungs");  // as an answer to the prompt; 0: asked again
        const double inf = std::numeric_limits<double>::infinity();

        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("letters") << "abc" << 0.0 << 0;
        QTest::newRow("lone sign") << "-" << 0.0 << 0;
        QTest::newRow("integer") << "42" << 42.0 << 42;
        QTest::newRow("negative") << "-17" << -17.0 << 0;
        QTest::newRow("fraction") << "12.9" << 12.9 << 12;
        QTest::newRow("leading point") << ".5e2" << 50.0 << 50;
        QTest::newRow("negative exponent") << "2500e-2" << 25.0 << 25;
        QTest::newRow("exponent without digits") << "1e" << 1.0 << 0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2 << 0;
        QTest::newRow("stops at text") << "25abc" << 25.0 << 25;
        QTest::newRow("blanks inside") << "1 2" << 12.0 << 12;
        QTest::newRow("tabs and line feeds") << "\t3\n0 " << 30.0 << 30;
        QTest::newRow("blanks around the exponent") << " 1 . 5 e 1" << 15.0 << 15;
        QTest::newRow("carriage return stops") << "3\r0" << 3.0 << 0;
        QTest::newRow("control characters stop") << QStringLiteral("1\0015\0020") << 1.0 << 0;
        QTest::newRow("a NUL stops") << QString::fromLatin1("2\0005", 3) << 2.0 << 0;
        QTest::newRow("full-width digits") << "３０" << 30.0 << 30;
        QTest::newRow("ideographic space") << "　３　０" << 30.0 << 30;
        QTest::newRow("full-width fraction and exponent") << "＋１．５Ｅ１" << 15.0 << 15;
        QTest::newRow("full-width minus") << "－２０" << -20.0 << 0;
        QTest::newRow("kanji stops") << "３０本" << 30.0 << 30;
        QTest::newRow("long mantissa overflow") << QString(400, QLatin1Char('9')) << inf << 0;
        QTest::newRow("underflow") << "5e-400" << 0.0 << 0;
        QTest::newRow("huge exponent") << "1e99999999999999999999999" << inf << 0;
        QTest::newRow("inf is text") << "inf" << 0.0 << 0;
        QTest::newRow("hex is not read") << "0x20" << 0.0 << 0;
        QTest::newRow("upper bound") << "50" << 50.0 << 50;
        QTest::newRow("just below") << "9.99" << 9.99 << 0;
        QTest::newRow("just above") << "50.5" << 50.5 << 0;
        QTest::newRow("exponent") << "1.5E1" << 15.0 << 15;
        QTest::newRow("overflow") << "1e400" << inf << 0;
        QTest::newRow("almost fifty") << "49.999999" << 49.999999 << 49;
        QTest::newRow("ten as exponent") << "0.1e2" << 10.0 << 10;
    }

    void readsTheLeadingNumberAndTheRungCount() {
        QFETCH(QString, text);
        QFETCH(double, value);
        const QByteArray utf8 = text.toUtf8();
        const double read =
            readLeadingNumber({utf8.constData(), static_cast<std::size_t>(utf8.size())});
        if (std::isinf(value)) {
            QCOMPARE(read, value);
        } else {
            QVERIFY2(std::abs(read - value) <= 1e-12 * std::max(1.0, std::abs(value)),
                     qPrintable(QString::number(read, 'g', 17)));
        }
        QTEST(rungCountFromAnswer({utf8.constData(), static_cast<std::size_t>(utf8.size())})
                  .value_or(0),
              "rungs");
    }
};

QTEST_APPLESS_MAIN(RungCountReaderTest)
#include "tst_rung_count_reader.moc"
