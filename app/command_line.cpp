#include "command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringList>
#include <array>
#include <cstdio>

#include "chart_export.h"
#include "landing_law.h"
#include "usage_text.h"

namespace tanabashigo {

namespace {

constexpr char kVersion[] = TANABASHIGO_VERSION;
constexpr std::uint64_t kMaxTrials = 1'000'000'000'000;
constexpr unsigned kMaxThreads = 256;
constexpr int kMinTickMs = 3;
constexpr int kMaxTickMs = 200;
constexpr double kMaxZoom = 4.0;

/// A rejected command line: the reason in both languages on stderr, exit status 2.
CommandLine rejected(const QString& japanese, const QString& english) {
    const QString text = QStringLiteral(
                             "tanabashigo: %1\ntanabashigo: %2\n"
                             "「tanabashigo --help」で使い方を表示します。"
                             " / Run 'tanabashigo --help' for usage.\n")
                             .arg(japanese, english);
    std::fputs(text.toUtf8().constData(), stderr);
    CommandLine line;
    line.mode = CommandLine::Mode::Exit;
    line.exitStatus = 2;
    return line;
}

/// Help or version: the text on stdout, exit status 0, or 1 when it could not be written.
CommandLine answered(const QByteArray& text) {
    CommandLine line;
    line.mode = CommandLine::Mode::Exit;
    line.exitStatus = writeStandardOutput(text.toStdString()) ? 0 : 1;
    return line;
}

/// A plain decimal number within min..max, or nothing.
std::optional<std::uint64_t> readNumber(const QString& text, std::uint64_t min, std::uint64_t max) {
    if (text.isEmpty() || text.size() > 19) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
    }
    const std::uint64_t value = text.toULongLong();
    if (value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

/// Reads --rungs as R or A:B[:STEP] into `line`; false when it is malformed.
bool readRungs(const QString& text, CommandLine& line) {
    const QStringList parts = text.split(u':');
    if (parts.size() > 3) {
        return false;
    }
    std::array<std::optional<std::uint64_t>, 3> numbers;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        numbers[i] = readNumber(parts[i], i == 2 ? 1 : 0, kSlotCount);
        if (!numbers[i]) {
            return false;
        }
    }
    line.firstRungs = static_cast<int>(*numbers[0]);
    line.lastRungs = static_cast<int>(numbers[1].value_or(*numbers[0]));
    line.rungStep = static_cast<int>(numbers[2].value_or(1));
    line.rungRange = parts.size() > 1;
    return line.firstRungs <= line.lastRungs;
}

/// Options the window system reads from the same arguments; accepted and left to it.
void addWindowSystemOptions(QCommandLineParser& parser) {
    for (const char* name : {"platform",
                             "platformpluginpath",
                             "platformtheme",
                             "plugin",
                             "style",
                             "stylesheet",
                             "qwindowgeometry",
                             "qwindowtitle",
                             "qwindowicon",
                             "session",
                             "display",
                             "name",
                             "title",
                             "geometry",
                             "visual",
                             "ncols",
                             "im",
                             "inputstyle",
                             "fn",
                             "font",
                             "bg",
                             "background",
                             "fg",
                             "foreground",
                             "btn",
                             "button"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync", "cmap"}) {
        QCommandLineOption flag(QString::fromLatin1(name));
        flag.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(flag);
    }
}

/// The program's own options.
struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};
    QCommandLineOption analyse{QStringLiteral("analyse")};
    QCommandLineOption csv{QStringLiteral("csv")};
    QCommandLineOption rungs{QStringLiteral("rungs"), QString(), QStringLiteral("R")};
    QCommandLineOption start{QStringLiteral("start"), QString(), QStringLiteral("S")};
    QCommandLineOption trials{QStringLiteral("trials"), QString(), QStringLiteral("T")};
    QCommandLineOption seed{QStringLiteral("seed"), QString(), QStringLiteral("N")};
    QCommandLineOption threads{QStringLiteral("threads"), QString(), QStringLiteral("N")};
    QCommandLineOption chart{QStringLiteral("chart"), QString(), QStringLiteral("FILE")};
    QCommandLineOption tick{QStringLiteral("tick"), QString(), QStringLiteral("MS")};
    QCommandLineOption zoom{QStringLiteral("zoom"), QString(), QStringLiteral("F")};
    QCommandLineOption record{QStringLiteral("record"), QString(), QStringLiteral("FILE")};
    QCommandLineOption theory{QStringLiteral("theory")};
    QCommandLineOption compare{QStringLiteral("compare"), QString(), QStringLiteral("FILE")};
    QCommandLineOption experiment{QStringLiteral("experiment"), QString(), QStringLiteral("N")};
};

/// The message for an option value that is not a number in min..max.
CommandLine badNumber(const QString& option, const QString& text, std::uint64_t min,
                      std::uint64_t max) {
    return rejected(QStringLiteral("--%1 の値「%2」は %3〜%4 の整数で指定してください。")
                        .arg(option, text)
                        .arg(min)
                        .arg(max),
                    QStringLiteral("--%1 takes a whole number from %3 to %4, not '%2'.")
                        .arg(option, text)
                        .arg(min)
                        .arg(max));
}

/// Fills in the window settings from the parsed options, or rejects them.
CommandLine readWindow(const QCommandLineParser& parser, const Options& options, CommandLine line) {
    if (parser.isSet(options.tick)) {
        const QString text = parser.value(options.tick);
        const auto tick = readNumber(text, kMinTickMs, kMaxTickMs);
        if (!tick) {
            return badNumber(QStringLiteral("tick"), text, kMinTickMs, kMaxTickMs);
        }
        line.tickMs = static_cast<int>(*tick);
    }
    if (parser.isSet(options.zoom)) {
        const QString text = parser.value(options.zoom);
        static const QRegularExpression decimal(QStringLiteral("^[0-9]{1,3}(\\.[0-9]{1,6})?$"));
        const double zoom = text.toDouble();
        if (text == QLatin1String("fit")) {
            line.zoomToFit = true;
        } else if (decimal.match(text).hasMatch() && zoom >= 1.0 && zoom <= kMaxZoom) {
            line.zoom = zoom;
        } else {
            return rejected(
                QStringLiteral(
                    "--zoom の値「%1」は 1〜4 の数（1.5 など）か fit で指定してください。")
                    .arg(text),
                QStringLiteral(
                    "--zoom takes a factor from 1 to 4 (such as 1.5) or 'fit', not '%1'.")
                    .arg(text));
        }
    }
    if (parser.isSet(options.record)) {
        line.recordPath = parser.value(options.record).toLocal8Bit().toStdString();
        if (line.recordPath.empty()) {
            return rejected(QStringLiteral("--record には記録するファイルを指定してください。"),
                            QStringLiteral("--record needs a file name."));
        }
    }
    return line;
}

/// Fills in the analysis settings from the parsed options, or rejects them.
CommandLine readAnalysis(const QCommandLineParser& parser, const Options& options,
                         CommandLine line) {
    line.mode = CommandLine::Mode::Analyse;
    line.csv = parser.isSet(options.csv);
    if (parser.isSet(options.rungs) && !readRungs(parser.value(options.rungs), line)) {
        const QString text = parser.value(options.rungs);
        return rejected(
            QStringLiteral("--rungs の値「%1」は 0〜225 の本数か、A:B[:STEP]（A ≦ B、STEP ≧ 1）"
                           "の範囲で指定してください。")
                .arg(text),
            QStringLiteral("--rungs takes a rung count 0..225 or a range A:B[:STEP] with "
                           "A <= B and STEP >= 1, not '%1'.")
                .arg(text));
    }
    if (parser.isSet(options.start)) {
        const auto start = readNumber(parser.value(options.start), 1, kLineCount);
        if (!start) {
            return badNumber(QStringLiteral("start"), parser.value(options.start), 1, kLineCount);
        }
        line.start = static_cast<int>(*start);
    }
    if (parser.isSet(options.threads)) {
        const auto threads = readNumber(parser.value(options.threads), 1, kMaxThreads);
        if (!threads) {
            return badNumber(QStringLiteral("threads"), parser.value(options.threads), 1,
                             kMaxThreads);
        }
        line.threads = static_cast<unsigned>(*threads);
    }
    if (!parser.isSet(options.trials)) {
        return line;
    }
    const auto trials = readNumber(parser.value(options.trials), 1, kMaxTrials);
    if (!trials) {
        return badNumber(QStringLiteral("trials"), parser.value(options.trials), 1, kMaxTrials);
    }
    line.trials = *trials;
    if (line.rungRange) {
        return rejected(QStringLiteral("--trials は横線の本数の範囲とは一緒に使えません。"),
                        QStringLiteral("--trials needs a single rung count, not a range."));
    }
    return line;
}

/// Reads --chart and the options that choose what the program does (--theory, --analyse,
/// --compare), or rejects them; the mode is left to the caller.
std::optional<CommandLine> readTheoryOptions(const QCommandLineParser& parser,
                                             const Options& options, CommandLine& line) {
    const int modes = int{parser.isSet(options.theory)} + int{parser.isSet(options.analyse)} +
                      int{parser.isSet(options.compare)};
    if (modes > 1) {
        return rejected(
            QStringLiteral("--theory、--analyse、--compare は一つだけ指定してください。"),
            QStringLiteral("Give only one of --theory, --analyse and --compare."));
    }
    if (parser.isSet(options.chart)) {
        const QString chart = parser.value(options.chart);
        if (!parser.isSet(options.analyse) && !parser.isSet(options.compare)) {
            return rejected(QStringLiteral("--chart は --analyse か --compare と一緒に使います。"),
                            QStringLiteral("--chart needs --analyse or --compare."));
        }
        if (!chartFormatOf(chart)) {
            return rejected(
                QStringLiteral("--chart のファイル名「%1」は .png か .svg で終えてください。")
                    .arg(chart),
                QStringLiteral("--chart writes a .png or .svg file, not '%1'.").arg(chart));
        }
        line.chart = chart.toLocal8Bit().toStdString();
    }
    if (parser.isSet(options.experiment)) {
        const auto experiment = readNumber(parser.value(options.experiment), 1, 1'000'000);
        if (!parser.isSet(options.compare)) {
            return rejected(QStringLiteral("--experiment は --compare と一緒に使います。"),
                            QStringLiteral("--experiment needs --compare."));
        }
        if (!experiment) {
            return badNumber(QStringLiteral("experiment"), parser.value(options.experiment), 1,
                             1'000'000);
        }
        line.experiment = static_cast<int>(*experiment);
    }
    if (parser.isSet(options.compare)) {
        line.record = parser.value(options.compare).toLocal8Bit().toStdString();
    }
    return std::nullopt;
}

}  // namespace

bool writeStandardOutput(const std::string& text) {
    const bool written = std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 &&
                         std::ferror(stdout) == 0;
    if (!written) {
        std::fputs("tanabashigo: 出力を書き出せませんでした。/ could not write the output.\n",
                   stderr);
    }
    return written;
}

CommandLine parseCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const Options options;
    parser.addOptions({options.help, options.version, options.analyse, options.csv, options.rungs,
                       options.start, options.trials, options.seed, options.threads, options.chart,
                       options.tick, options.zoom, options.record, options.theory, options.compare,
                       options.experiment});
    addWindowSystemOptions(parser);

    if (!parser.parse(arguments)) {
        return rejected(QStringLiteral("引数が正しくありません。"), parser.errorText());
    }
    const QStringList extra = parser.positionalArguments();
    if (!extra.isEmpty()) {
        return rejected(QStringLiteral("余分な引数「%1」があります。").arg(extra[0]),
                        QStringLiteral("Unexpected argument '%1'.").arg(extra[0]));
    }
    if (parser.isSet(options.help)) {
        return answered(usageText());
    }
    if (parser.isSet(options.version)) {
        return answered(QByteArray("tanabashigo ") + kVersion + '\n');
    }
    CommandLine line;
    if (parser.isSet(options.seed)) {
        const auto seed = readNumber(parser.value(options.seed), 0, UINT32_MAX);
        if (!seed) {
            return badNumber(QStringLiteral("seed"), parser.value(options.seed), 0, UINT32_MAX);
        }
        line.seed = static_cast<std::uint32_t>(*seed);
    }
    if (const std::optional<CommandLine> refused = readTheoryOptions(parser, options, line)) {
        return *refused;
    }
    if (parser.isSet(options.analyse) || parser.isSet(options.compare)) {
        const QString headless = parser.isSet(options.analyse) ? QStringLiteral("--analyse")
                                                               : QStringLiteral("--compare");
        for (const QCommandLineOption* option : {&options.tick, &options.zoom, &options.record}) {
            if (parser.isSet(*option)) {
                const QString name = option->names().constFirst();
                return rejected(
                    QStringLiteral("--%1 はウィンドウを開くときのオプションです。").arg(name),
                    QStringLiteral("--%1 is for the window, not %2.").arg(name, headless));
            }
        }
    }
    if (parser.isSet(options.analyse)) {
        return readAnalysis(parser, options, line);
    }
    for (const QCommandLineOption* option :
         {&options.rungs, &options.start, &options.trials, &options.threads, &options.csv}) {
        if (parser.isSet(*option)) {
            const QString name = option->names().constFirst();
            return rejected(QStringLiteral("--%1 は --analyse と一緒に使います。").arg(name),
                            QStringLiteral("--%1 needs --analyse.").arg(name));
        }
    }
    if (parser.isSet(options.compare)) {
        line.mode = CommandLine::Mode::Compare;
        return line;
    }
    if (parser.isSet(options.theory)) {
        line.mode = CommandLine::Mode::Theory;
        for (const QCommandLineOption* option : {&options.tick, &options.record}) {
            if (parser.isSet(*option)) {
                const QString name = option->names().constFirst();
                return rejected(
                    QStringLiteral("--%1 は実験のウィンドウのオプションです。").arg(name),
                    QStringLiteral("--%1 is for the experiment window, not --theory.").arg(name));
            }
        }
    }
    return readWindow(parser, options, line);
}

}  // namespace tanabashigo
