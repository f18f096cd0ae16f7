#include "duration_text.h"

#include "lesson_pace.h"
#include "number_text.h"

namespace tanabashigo {

namespace {

std::string minutes(double trials, double secondsPerTrial) {
    return fixedText(trials * secondsPerTrial / 60.0, 1);
}

}  // namespace

std::string durationSentence(const ExperimentLength& length, int rungs, int start, int speed) {
    const double mean = length.mean();
    const int median = length.median();
    const double seconds = meanTrialMs(speed, rungs) / 1000.0;
    return formatted(
        "横線 %d 本・%d 本目からのクラスの実験（印が 20 個たまった列にもう一度着いたら"
        "終わり）は、平均 %s 回で終わり、半分のクラスは %d 回までに終わります。授業用の速さ %d"
        "（ゆっくり %d〜はやい %d）では 1 回約 %s 秒なので、平均約 %s 分、半分のクラスは約 %s "
        "分までです。",
        rungs, start, fixedText(mean, 1).c_str(), median, speed, kSlowestSpeed, kFastestSpeed,
        fixedText(seconds, 1).c_str(), minutes(mean, seconds).c_str(),
        minutes(median, seconds).c_str());
}

}  // namespace tanabashigo
