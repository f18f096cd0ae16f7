#include "compare_command.h"

#include <QString>
#include <cstdio>
#include <variant>

#include "chart_command.h"
#include "law_chart.h"
#include "record_choices.h"

namespace tanabashigo {

namespace {

/// A refused record: the reason in both languages on stderr, exit status 2.
int refused(const QString& japanese, const QString& english) {
    std::fputs(QStringLiteral("tanabashigo: %1\ntanabashigo: %2\n")
                   .arg(japanese, english)
                   .toUtf8()
                   .constData(),
               stderr);
    return 2;
}

/// The counts of `comparison` beside the law of its ladder, and what they say.
QString comparisonText(const Comparison& comparison) {
    const ColumnLaw law = exactLandingLaw(comparison.rungs, comparison.start);
    const ColumnLaw shares = sharesOf(comparison.counts);
    std::uint64_t total = 0;
    for (const std::uint64_t count : comparison.counts) {
        total += count;
    }
    QString text = QStringLiteral(
                       "%1：横線 %2 本、%3 本目から、%4 回\n"
                       "%1: %2 rungs from line %3, %4 landings\n"
                       "列 / column   理論 / exact   回数 / count   割合 / share\n")
                       .arg(comparison.name)
                       .arg(comparison.rungs)
                       .arg(comparison.start)
                       .arg(total);
    for (int column = 1; column <= kLineCount; ++column) {
        text += QStringLiteral("%1   %2%   %3   %4%\n")
                    .arg(column, 12)
                    .arg(law[column] * 100.0, 11, 'f', 2)
                    .arg(comparison.counts[column], 12)
                    .arg(shares[column] * 100.0, 11, 'f', 2);
    }
    const PlainComparison plain = compareCounts(comparison.counts, law, comparison.whose);
    return text + plain.japanese + u'\n' + plain.english + u'\n' + plain.figures + u'\n';
}

}  // namespace

int runCompare(const CommandLine& commandLine) {
    const QString file = QString::fromLocal8Bit(commandLine.record.c_str());
    const auto read = readRecordFile(commandLine.record);
    if (const RecordError* error = std::get_if<RecordError>(&read)) {
        // Line 0 stands for the file as a whole (missing, unreadable, too large, empty).
        const bool atLine = error->line > 0;
        const QString where = atLine ? QStringLiteral("（%1 行目）").arg(error->line) : QString();
        const QString whereEn = atLine ? QStringLiteral(" (line %1)").arg(error->line) : QString();
        return refused(QStringLiteral("記録ファイル「%1」を読めません%2：%3")
                           .arg(file, where, QString::fromStdString(error->japanese)),
                       QStringLiteral("cannot read the record file '%1'%2: %3")
                           .arg(file, whereEn, QString::fromStdString(error->english)));
    }
    const auto& experiments = std::get<std::vector<RecordedExperiment>>(read);
    std::vector<RecordChoice> choices;
    if (commandLine.experiment == 0) {
        choices = choicesByLadder(experiments);
    } else {
        for (const RecordChoice& choice : recordChoices(experiments)) {
            if (choice.experiment == commandLine.experiment) {
                choices.push_back(choice);
            }
        }
    }
    if (choices.empty()) {
        return refused(QStringLiteral("記録ファイル「%1」に比べる実験がありません。").arg(file),
                       QStringLiteral("the record file '%1' holds no such experiment.").arg(file));
    }
    int status = 0;
    if (!commandLine.chart.empty()) {
        if (choices.size() != 1) {
            return refused(
                QStringLiteral("記録には横線の本数が %1 通りあります。グラフにする実験を "
                               "--experiment で選んでください。")
                    .arg(choices.size()),
                QStringLiteral("the record holds %1 ladders: choose the experiment to draw with "
                               "--experiment.")
                    .arg(choices.size()));
        }
        const Comparison& comparison = choices.front().comparison;
        const LawChart chart{comparison.rungs, comparison.start,
                             exactLandingLaw(comparison.rungs, comparison.start),
                             sharesOf(comparison.counts), comparison.name};
        status = chartStatus(saveLawChart(QString::fromLocal8Bit(commandLine.chart.c_str()), chart),
                             commandLine.chart);
    }
    QString text;
    for (const RecordChoice& choice : choices) {
        text +=
            (text.isEmpty() ? QString() : QStringLiteral("\n")) + comparisonText(choice.comparison);
    }
    std::fputs(text.toUtf8().constData(), stdout);
    return status;
}

}  // namespace tanabashigo
