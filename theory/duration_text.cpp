#include "duration_text.h"

#include "number_text.h"

namespace tanabashigo {

namespace {

std::string minutes(double trials) {
    return fixedText(trials * kSecondsPerTrial / 60.0, 1);
}

}  // namespace

std::string durationSentence(const ExperimentLength& length, int rungs, int start) {
    const double mean = length.mean();
    const int median = length.median();
    return formatted(
        "横線 %d 本・%d 本目からのクラスの実験（印が 20 個たまった列にもう一度着いたら"
        "終わり）は、平均 %s 回で終わり、半分のクラスは %d 回までに終わります。1 回 %s 秒"
        "なら、平均約 %s 分、半分のクラスは約 %s 分までです。",
        rungs, start, fixedText(mean, 1).c_str(), median, shortestDecimal(kSecondsPerTrial).c_str(),
        minutes(mean).c_str(), minutes(median).c_str());
}

}  // namespace tanabashigo
