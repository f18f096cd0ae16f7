#include "duration_text.h"

namespace tanabashigo {

namespace {

QString minutes(double trials) {
    return QString::number(trials * kSecondsPerTrial / 60.0, 'f', 1);
}

}  // namespace

QString durationSentence(const ExperimentLength& length, int rungs, int start) {
    const double mean = length.mean();
    const int median = length.median();
    return QStringLiteral(
               "横線 %1 本・%2 本目からのクラスの実験（印が 20 個たまった列にもう一度着いたら"
               "終わり）は、平均 %3 回で終わり、半分のクラスは %4 回までに終わります。1 回 %5 秒"
               "なら、平均約 %6 分、半分のクラスは約 %7 分までです。")
        .arg(rungs)
        .arg(start)
        .arg(QString::number(mean, 'f', 1))
        .arg(median)
        .arg(kSecondsPerTrial)
        .arg(minutes(mean), minutes(median));
}

}  // namespace tanabashigo
