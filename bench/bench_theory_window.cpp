#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "chart_view.h"
#include "fairness_chart.h"
#include "law_chart.h"
#include "theory_model.h"

using namespace tanabashigo;

namespace {

/// The size each chart has in the theory window at its first size.
const QSize kLawView(800, 500);
const QSize kFairnessView(800, 330);

/// One step of the slider as the window takes it: the next rung count's law from the model,
/// both chart documents written and rendered afresh and the fairness sentence; the
/// experiment's length is cached after the first pass over the rung counts.
void sliderStep(benchmark::State& state) {
    TheoryModel model;
    int rungs = 0;
    for (auto _ : state) {
        model.setRungs(rungs = (rungs + 1) % (kSlotCount + 1));
        benchmark::DoNotOptimize(chartImage(lawChartSvg(model.lawChart()), kLawView));
        benchmark::DoNotOptimize(
            chartImage(fairnessChartSvg(model.fairnessChart()), kFairnessView));
        benchmark::DoNotOptimize(model.fairnessSentence());
        benchmark::DoNotOptimize(model.durationSentence());
    }
}
BENCHMARK(sliderStep)->Unit(benchmark::kMillisecond);

/// The law chart alone: its document written and rendered.
void lawChartPaint(benchmark::State& state) {
    TheoryModel model;
    for (auto _ : state) {
        benchmark::DoNotOptimize(chartImage(lawChartSvg(model.lawChart()), kLawView));
    }
}
BENCHMARK(lawChartPaint)->Unit(benchmark::kMillisecond);

/// The class's experiment length for a rung count not seen before, from the window's model.
void durationOfANewRungCount(benchmark::State& state) {
    int rungs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TheoryModel model;
        model.setRungs(rungs = (rungs + 7) % (kSlotCount + 1));
        state.ResumeTiming();
        benchmark::DoNotOptimize(model.durationSentence());
    }
}
BENCHMARK(durationOfANewRungCount)->Unit(benchmark::kMillisecond);

/// Choosing another start line: the exact laws of all 226 rung counts and their fairness.
void startLineChange(benchmark::State& state) {
    TheoryModel model;
    int start = 1;
    for (auto _ : state) {
        model.setStart(start = start % kLineCount + 1);
    }
}
BENCHMARK(startLineChange)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
