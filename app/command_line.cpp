#include "command_line.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>
#include <variant>
#include <vector>

#include "command_output.h"
#include "landing_law.h"
#include "plain_number.h"
#include "record_line.h"
#include "usage_text.h"

namespace tanabashigo {

namespace {

using Mode = CommandLine::Mode;

constexpr char kVersion[] = TANABASHIGO_VERSION;
constexpr std::uint64_t kMaxTrials = 1'000'000'000'000;
constexpr std::uint64_t kMaxThreads = 256;
constexpr std::uint64_t kMinTickMs = 3;
constexpr std::uint64_t kMaxTickMs = 200;
constexpr std::uint64_t kMaxExperiment = kMostRecordNumber;

/// The modes an option may be given in, one bit a mode.
using Modes = unsigned;
constexpr Modes bit(Mode mode) {
    return 1u << static_cast<unsigned>(mode);
}
constexpr Modes kWindow = bit(Mode::Window);
constexpr Modes kTheory = bit(Mode::Theory);
constexpr Modes kAnalyse = bit(Mode::Analyse);
constexpr Modes kCompare = bit(Mode::Compare);
constexpr Modes kLesson = bit(Mode::Lesson);
constexpr Modes kEvery = kWindow | kTheory | kAnalyse | kCompare | kLesson;

/// What an option is; the window system's own options are read by it, not here.
enum class Key {
    Help,
    Version,
    Analyse,
    Theory,
    Compare,
    Lesson,
    Rungs,
    Start,
    Trials,
    Threads,
    Csv,
    AllLines,
    Chart,
    Worksheet,
    Experiment,
    Seed,
    Tick,
    Zoom,
    Record,
    RecordFile,  ///< an argument that is not an option: a record file of --compare
    WindowSystem
};

struct OptionRule {
    std::string_view name;
    Key key;
    bool takesValue;
    Modes modes;  ///< where it may be given
};

/// Every option and the modes it belongs to.
constexpr std::array kOptions{
    OptionRule{"help", Key::Help, false, kEvery},
    OptionRule{"h", Key::Help, false, kEvery},
    OptionRule{"version", Key::Version, false, kEvery},
    OptionRule{"v", Key::Version, false, kEvery},
    OptionRule{"analyse", Key::Analyse, false, kAnalyse},
    OptionRule{"theory", Key::Theory, false, kTheory},
    OptionRule{"compare", Key::Compare, false, kCompare},
    OptionRule{"lesson", Key::Lesson, false, kLesson},
    OptionRule{"rungs", Key::Rungs, true, kAnalyse | kLesson},
    OptionRule{"start", Key::Start, true, kAnalyse | kLesson},
    OptionRule{"trials", Key::Trials, true, kAnalyse},
    OptionRule{"threads", Key::Threads, true, kAnalyse},
    OptionRule{"csv", Key::Csv, false, kAnalyse | kCompare},
    OptionRule{"all-lines", Key::AllLines, false, kAnalyse},
    OptionRule{"chart", Key::Chart, true, kAnalyse | kCompare},
    OptionRule{"worksheet", Key::Worksheet, true, kAnalyse | kCompare},
    OptionRule{"experiment", Key::Experiment, true, kCompare},
    OptionRule{"seed", Key::Seed, true, kWindow | kTheory | kAnalyse | kLesson},
    OptionRule{"tick", Key::Tick, true, kWindow | kLesson},
    OptionRule{"zoom", Key::Zoom, true, kWindow | kTheory},
    OptionRule{"record", Key::Record, true, kWindow | kLesson},
};

/// Options of the window system, taken from the same arguments and left to it.
constexpr std::array<std::string_view, 26> kWindowSystemOptions{"platform",
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
                                                                "button"};
constexpr std::array<std::string_view, 6> kWindowSystemFlags{"reverse", "widgetcount", "nograb",
                                                             "dograb",  "sync",        "cmap"};

/// One option as given, with its value.
struct Given {
    const OptionRule* rule;
    std::string name;  ///< as the user wrote it, without dashes
    std::string value;
};

/// A rejected command line: the reason in both languages on stderr, exit status 2.
CommandLine rejected(const std::string& japanese, const std::string& english) {
    CommandLine line;
    line.mode = Mode::Exit;
    line.exitStatus = 2;
    line.refusal = "tanabashigo: " + japanese + "\ntanabashigo: " + english +
                   "\n「tanabashigo --help」で使い方を表示します。"
                   " / Run 'tanabashigo --help' for usage.\n";
    writeStandardError(line.refusal);
    return line;
}

/// Help or version: the text on stdout, exit status 0, or 1 when it could not be written.
CommandLine answered(const std::string& text) {
    CommandLine line;
    line.mode = Mode::Exit;
    line.exitStatus = writeStandardOutput(text) ? 0 : 1;
    return line;
}

/// The message for an option value that is not a number in min..max.
CommandLine badNumber(const Given& given, std::uint64_t min, std::uint64_t max) {
    const std::string range = std::to_string(min) + "〜" + std::to_string(max);
    return rejected("--" + given.name + " の値「" + given.value + "」は " + range +
                        " の整数で指定してください。",
                    "--" + given.name + " takes a whole number from " + std::to_string(min) +
                        " to " + std::to_string(max) + ", not '" + given.value + "'.");
}

/// Reads --rungs as R or A:B[:STEP] into `line`; false when it is malformed.
bool readRungs(std::string_view text, CommandLine& line) {
    std::array<std::optional<std::uint64_t>, 3> numbers;
    std::size_t parts = 0;
    for (std::size_t from = 0;; ++parts) {
        const std::size_t colon = text.find(':', from);
        if (parts == numbers.size()) {
            return false;
        }
        numbers[parts] =
            plainNumber(text.substr(from, colon - from), parts == 2 ? 1 : 0, kSlotCount);
        if (!numbers[parts]) {
            return false;
        }
        if (colon == std::string_view::npos) {
            ++parts;
            break;
        }
        from = colon + 1;
    }
    line.firstRungs = static_cast<int>(*numbers[0]);
    line.lastRungs = static_cast<int>(numbers[1].value_or(*numbers[0]));
    line.rungStep = static_cast<int>(numbers[2].value_or(1));
    line.rungRange = parts > 1;
    return line.firstRungs <= line.lastRungs;
}

/// A zoom factor of 1..4 written as plain decimals (at most three digits, then six), or nothing.
std::optional<double> readZoom(const std::string& text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = std::string_view(text).substr(0, point);
    const std::string_view decimals =
        point == std::string::npos ? std::string_view() : std::string_view(text).substr(point + 1);
    const auto digits = [](std::string_view part, std::size_t most) {
        return !part.empty() && part.size() <= most &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(whole, 3) || (point != std::string::npos && !digits(decimals, 6))) {
        return std::nullopt;
    }
    const double zoom = std::strtod(text.c_str(), nullptr);  // digits and '.' only: any locale
    return zoom >= 1.0 && zoom <= 4.0 ? std::optional(zoom) : std::nullopt;
}

/// The last four bytes of `path` in lower case: ".png" for "law.PNG".
std::string endingOf(const std::string& path) {
    std::string ending = path.size() < 4 ? std::string() : path.substr(path.size() - 4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending;
}

/// Whether `path` ends in .png or .svg, in any case.
bool namesAChart(const std::string& path) {
    return endingOf(path) == ".png" || endingOf(path) == ".svg";
}

/// The rule of option `name`, or null.
const OptionRule* ruleOf(std::string_view name) {
    static const OptionRule kWindowSystem{"", Key::WindowSystem, true, kEvery};
    static const OptionRule kWindowSystemFlag{"", Key::WindowSystem, false, kEvery};
    for (const OptionRule& rule : kOptions) {
        if (rule.name == name) {
            return &rule;
        }
    }
    if (std::find(kWindowSystemOptions.begin(), kWindowSystemOptions.end(), name) !=
        kWindowSystemOptions.end()) {
        return &kWindowSystem;
    }
    if (std::find(kWindowSystemFlags.begin(), kWindowSystemFlags.end(), name) !=
        kWindowSystemFlags.end()) {
        return &kWindowSystemFlag;
    }
    return nullptr;
}

/// What the modes are called in messages, in both languages.
std::pair<std::string, std::string> modeNames(Modes modes) {
    static constexpr std::array<std::pair<Modes, std::pair<const char*, const char*>>, 5> kNames{{
        {kWindow, {"実験のウィンドウ", "the experiment window"}},
        {kLesson, {"--lesson", "--lesson"}},
        {kTheory, {"--theory", "--theory"}},
        {kAnalyse, {"--analyse", "--analyse"}},
        {kCompare, {"--compare", "--compare"}},
    }};
    std::pair<std::string, std::string> names;
    for (const auto& [mode, name] : kNames) {
        if ((modes & mode) != 0) {
            names.first += (names.first.empty() ? "" : "・") + std::string(name.first);
            names.second += (names.second.empty() ? "" : ", ") + std::string(name.second);
        }
    }
    return names;
}

/// The options as given, bytes as they are, or the rejection. Options may stand anywhere;
/// the other arguments are record files, and after "--" every argument is one.
std::variant<std::vector<Given>, CommandLine> splitArguments(int argc, char* argv[]) {
    static const OptionRule kRecordFile{"", Key::RecordFile, false, kCompare};
    std::vector<Given> given;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            given.push_back({&kRecordFile, argument, argument});
            continue;
        }
        const std::size_t dashes = argument[1] == '-' ? 2 : 1;
        const std::size_t equals = argument.find('=');
        Given option{nullptr, argument.substr(dashes, equals - dashes), {}};
        option.rule = ruleOf(option.name);
        if (option.rule == nullptr) {
            return rejected("「" + argument + "」というオプションはありません。",
                            "Unknown option '" + argument + "'.");
        }
        if (equals != std::string::npos && option.rule->key == Key::Compare) {
            // --compare=FILE: the mode, and its first record file.
            given.push_back(option);
            given.push_back(
                {&kRecordFile, argument.substr(equals + 1), argument.substr(equals + 1)});
            continue;
        }
        if (equals != std::string::npos && option.rule->takesValue) {
            option.value = argument.substr(equals + 1);
        } else if (equals != std::string::npos) {
            return rejected("--" + option.name + " には値を付けません。",
                            "--" + option.name + " takes no value.");
        } else if (option.rule->takesValue && i + 1 == argc) {
            return rejected("--" + option.name + " の後に値を指定してください。",
                            "--" + option.name + " needs a value.");
        } else if (option.rule->takesValue) {
            option.value = argv[++i];
        }
        given.push_back(std::move(option));
    }
    return given;
}

/// An option that takes a whole number: its range and where the number goes.
struct NumberRule {
    Key key;
    std::uint64_t min;
    std::uint64_t max;
    void (*store)(CommandLine& line, std::uint64_t value);
};

/// Every option that takes a whole number, with the ranges the engine and the analysis allow.
constexpr std::array kNumbers{
    NumberRule{
        Key::Start, 1, kLineCount,
        [](CommandLine& line, std::uint64_t value) { line.start = static_cast<int>(value); }},
    NumberRule{Key::Trials, 1, kMaxTrials,
               [](CommandLine& line, std::uint64_t value) { line.trials = value; }},
    NumberRule{Key::Threads, 1, kMaxThreads,
               [](CommandLine& line, std::uint64_t value) {
                   line.threads = static_cast<unsigned>(value);
               }},
    NumberRule{Key::Seed, 0, UINT32_MAX,
               [](CommandLine& line, std::uint64_t value) {
                   line.seed = static_cast<std::uint32_t>(value);
               }},
    NumberRule{
        Key::Tick, kMinTickMs, kMaxTickMs,
        [](CommandLine& line, std::uint64_t value) { line.tickMs = static_cast<int>(value); }},
    NumberRule{
        Key::Experiment, 1, kMaxExperiment,
        [](CommandLine& line, std::uint64_t value) { line.experiment = static_cast<int>(value); }},
};

/// Fills in `line` from one option, or rejects its value.
std::optional<CommandLine> readValue(const Given& given, CommandLine& line) {
    for (const NumberRule& rule : kNumbers) {
        if (rule.key == given.rule->key) {
            const auto value = plainNumber(given.value, rule.min, rule.max);
            if (!value) {
                return badNumber(given, rule.min, rule.max);
            }
            rule.store(line, *value);
            return std::nullopt;
        }
    }
    switch (given.rule->key) {
        case Key::Rungs:
            if (!readRungs(given.value, line)) {
                return rejected("--rungs の値「" + given.value + "」は 0〜" +
                                    std::to_string(kSlotCount) +
                                    " の本数か、A:B[:STEP]（A ≦ B、STEP ≧ 1）の範囲で"
                                    "指定してください。",
                                "--rungs takes a rung count 0.." + std::to_string(kSlotCount) +
                                    " or a range A:B[:STEP] with A <= B and STEP >= 1, not '" +
                                    given.value + "'.");
            }
            break;
        case Key::Zoom:
            if (given.value == "fit") {
                line.zoomToFit = true;
            } else if (const std::optional<double> zoom = readZoom(given.value)) {
                line.zoom = *zoom;
            } else {
                return rejected("--zoom の値「" + given.value +
                                    "」は 1〜4 の数（1.5 など）か fit で指定してください。",
                                "--zoom takes a factor from 1 to 4 (such as 1.5) or 'fit', not '" +
                                    given.value + "'.");
            }
            break;
        case Key::Chart:
            if (!namesAChart(given.value)) {
                return rejected(
                    "--chart のファイル名「" + given.value + "」は .png か .svg で終えてください。",
                    "--chart writes a .png or .svg file, not '" + given.value + "'.");
            }
            line.chart = given.value;
            break;
        case Key::Worksheet:
            if (endingOf(given.value) != ".pdf") {
                return rejected(
                    "--worksheet のファイル名「" + given.value + "」は .pdf で終えてください。",
                    "--worksheet writes a .pdf file, not '" + given.value + "'.");
            }
            line.worksheet = given.value;
            break;
        case Key::Record:
        case Key::RecordFile:
            if (given.value.empty()) {
                const std::string option =
                    given.rule->key == Key::Record ? "--record" : "--compare";
                return rejected(option + " にはファイル名を指定してください。",
                                option + " needs a file name.");
            }
            if (given.rule->key == Key::Record) {
                line.recordPath = given.value;
            } else {
                line.records.push_back(given.value);
            }
            break;
        case Key::Csv:
            line.csv = true;
            break;
        case Key::AllLines:
            line.allLines = true;
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace

CommandLine parseCommandLine(int argc, char* argv[]) {
    auto split = splitArguments(argc, argv);
    if (CommandLine* refused = std::get_if<CommandLine>(&split)) {
        return *refused;
    }
    const auto& given = std::get<std::vector<Given>>(split);
    const auto has = [&given](Key key) {
        return std::any_of(given.begin(), given.end(),
                           [key](const Given& option) { return option.rule->key == key; });
    };
    if (has(Key::Help)) {
        return answered(usageText());
    }
    if (has(Key::Version)) {
        return answered(std::string("tanabashigo ") + kVersion + '\n');
    }

    // The mode first, then every option against the modes it belongs to.
    CommandLine line;
    if (int{has(Key::Analyse)} + int{has(Key::Theory)} + int{has(Key::Compare)} +
            int{has(Key::Lesson)} >
        1) {
        return rejected("--theory、--analyse、--compare、--lesson は一つだけ指定してください。",
                        "Give only one of --theory, --analyse, --compare and --lesson.");
    }
    line.mode = has(Key::Analyse)   ? Mode::Analyse
                : has(Key::Theory)  ? Mode::Theory
                : has(Key::Compare) ? Mode::Compare
                : has(Key::Lesson)  ? Mode::Lesson
                                    : Mode::Window;
    for (const Given& option : given) {
        if (option.rule->key == Key::RecordFile && line.mode != Mode::Compare) {
            return rejected("余分な引数「" + option.value + "」があります。",
                            "Unexpected argument '" + option.value + "'.");
        }
        if ((option.rule->modes & bit(line.mode)) == 0) {
            const auto [belongs, belongsEn] = modeNames(option.rule->modes);
            const auto [here, hereEn] = modeNames(bit(line.mode));
            const auto spaced = [](const std::string& name) {
                return name.rfind("--", 0) == 0 ? " " + name + " " : name;
            };
            return rejected(
                "--" + option.name + " は" + spaced(belongs) + "のオプションです（" + spaced(here) +
                    "では使えません）。",
                "--" + option.name + " is an option of " + belongsEn + ", not of " + hereEn + ".");
        }
    }
    for (const Given& option : given) {
        if (std::optional<CommandLine> refused = readValue(option, line)) {
            return *refused;
        }
    }
    if (line.mode == Mode::Compare && line.records.empty()) {
        return rejected("--compare には記録のファイル名を指定してください。",
                        "--compare needs a record file.");
    }
    if (line.trials > 0 && line.rungRange) {
        return rejected("--trials は横線の本数の範囲とは一緒に使えません。",
                        "--trials needs a single rung count, not a range.");
    }
    if (line.allLines && (line.rungRange || line.trials > 0 || has(Key::Start))) {
        return rejected(
            "--all-lines は 1 つの横線の本数だけで使えます（--start・--trials・"
            "本数の範囲とは一緒に使えません）。",
            "--all-lines takes a single rung count, without --start, --trials or "
            "a range.");
    }
    if (!line.worksheet.empty() && (line.rungRange || line.trials > 0 || line.allLines)) {
        return rejected(
            "--worksheet は 1 つの横線の本数だけで使えます（--trials・--all-lines・"
            "本数の範囲とは一緒に使えません）。",
            "--worksheet takes a single rung count, without --trials, --all-lines or a range.");
    }
    if (line.mode == Mode::Lesson && line.rungRange) {
        return rejected("--lesson の --rungs は 1 つの本数で指定してください。",
                        "--lesson takes a single rung count, not a range.");
    }
    if (line.mode == Mode::Lesson && has(Key::Rungs)) {
        line.lessonRungs = line.firstRungs;
    }
    return line;
}

}  // namespace tanabashigo
