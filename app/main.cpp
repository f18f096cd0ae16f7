#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "command_line.h"
#include "dialogs.h"
#include "foreign_destroy_watch.h"
#include "form1.h"
#include "headless_run.h"
#include "lesson_command.h"
#include "random_source.h"
#include "record_writer.h"
#include "screen_fit.h"
#include "sound_cues.h"
#include "startup_notice.h"
#include "theory_command.h"
#include "twips.h"
#include "window_flow.h"

namespace {

constexpr char kNoDisplay[] =
    "たなばしご: 画面（ディスプレイ）に接続できないため、起動できません。\n"
    "tanabashigo: no display could be opened (is DISPLAY or WAYLAND_DISPLAY set?).\n";

QtMessageHandler qtMessages = nullptr;
std::string askedPlatform;  ///< a window system other than X11 or Wayland asked for, or empty

/// Keeps descriptors 0 to 2 taken when the program was started with any of them closed, so the
/// window system's connection never lands on one of them. Each is held on /dev/null opened for
/// reading only: reading gives nothing and writing still fails, as it would have.
void holdStandardDescriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            open("/dev/null", O_RDONLY);  // the lowest free descriptor, so this very one
        }
    }
}

/// The window system that -platform or QT_QPA_PLATFORM asks for when it is anything but X11
/// or Wayland (the two a missing display explains), or empty.
std::string unusualPlatform(int argc, char* argv[]) {
    const char* asked = std::getenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            asked = argv[i + 1];
        }
    }
    // A list of choices separated by ';', each a name with options after ':'.
    for (std::string_view rest = asked != nullptr ? asked : ""; !rest.empty();) {
        const std::string_view choice = rest.substr(0, rest.find(';'));
        const std::string_view name = choice.substr(0, choice.find(':'));
        if (name != "xcb" && name != "wayland" && name != "wayland-egl") {
            return asked;
        }
        rest.remove_prefix(std::min(rest.size(), choice.size() + 1));
    }
    return {};
}

/// Stands in for Qt's own handler while the window system starts: a window system that
/// cannot be reached ends the program with one clear message and status 2, not an abort.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        if (askedPlatform.empty()) {
            std::fputs(kNoDisplay, stderr);
        } else {
            std::fprintf(stderr,
                         "たなばしご: 画面の種類「%s」で起動できません。\n"
                         "tanabashigo: the window system '%s' (from -platform or "
                         "QT_QPA_PLATFORM) could not be started.\n",
                         askedPlatform.c_str(), askedPlatform.c_str());
        }
        std::_Exit(2);
    }
    if (qtMessages != nullptr) {
        qtMessages(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }
}

/// Scales both windows, their fonts and the boxes they open by the zoom asked for, or by the
/// largest zoom that fits the screen when that is less.
void applyZoom(const tanabashigo::CommandLine& commandLine) {
    double zoom = commandLine.zoom;
    if (QGuiApplication::primaryScreen() != nullptr && (commandLine.zoomToFit || zoom > 1.0)) {
        const double fit = tanabashigo::Form1::zoomToFit(
            QGuiApplication::primaryScreen()->availableGeometry().size(),
            tanabashigo::kFrameAllowance);
        if (!commandLine.zoomToFit && zoom > fit) {
            std::fprintf(stderr,
                         "たなばしご: --zoom %g では画面に収まらないため %g にしました。 / "
                         "tanabashigo: --zoom %g does not fit the screen; using %g.\n",
                         zoom, fit, zoom, fit);
        }
        zoom = commandLine.zoomToFit ? fit : std::min(zoom, fit);
    }
    tanabashigo::setLayoutZoom(zoom);
    if (zoom != 1.0) {
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * zoom);
        QApplication::setFont(font);
    }
}

/// Why the record file asked for cannot be recorded into, as stderr and a message box say it.
std::string refusalText(const tanabashigo::RecordFault& fault) {
    return "たなばしご: 記録ファイル「" + fault.path + "」に記録できないため、起動できません。" +
           fault.japanese + "\ntanabashigo: cannot record into the record file '" + fault.path +
           "': " + fault.english + ".\n";
}

/// Runs the windows; `recorder` is null without --record, `refusal` says why the record file
/// asked for was refused (the program then ends with status 2), and `warning` what the
/// teacher should know of it.
int runWindows(int argc, char* argv[], const tanabashigo::CommandLine& commandLine,
               tanabashigo::LandingRecorder* recorder, const std::string& refusal,
               const std::string& warning) {
    using namespace tanabashigo;
    askedPlatform = unusualPlatform(argc, argv);
    qtMessages = qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtMessages);
    // No display name: Qt would add it to every window title, which must read exactly as given.
    QApplication::setApplicationName(QStringLiteral("tanabashigo"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.tanabashigo.Tanabashigo"));
    // Qt's own texts (the text field's menu, for one) in Japanese; English when not installed.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    applyZoom(commandLine);
    ForeignDestroyWatch destroyWatch;
    app.installNativeEventFilter(&destroyWatch);
    if (!refusal.empty() || !warning.empty()) {
        tanabashigo::showWhenUnseen(refusal + warning);
    }
    if (!refusal.empty()) {
        return 2;
    }
    if (commandLine.mode == CommandLine::Mode::Theory) {
        return runTheoryWindow(commandLine);
    }
    if (commandLine.mode == CommandLine::Mode::Lesson) {
        return runLessonWindow(commandLine, recorder);
    }
    SystemClock clock;
    RandomSource random =
        commandLine.seed ? RandomSource(*commandLine.seed) : RandomSource(freshSeed(), clock);
    QtDialogs dialogs;
    SoundEffectCues sounds;
    Form1Options options;
    if (commandLine.tickMs) {
        options.tickMs = *commandLine.tickMs;
        options.paced = true;
    }
    options.recorder = recorder;
    WindowFlow flow(random, dialogs, sounds, options);
    QObject::connect(&flow, &WindowFlow::endRequested, &app, [] { QCoreApplication::exit(0); });
    flow.showMainWindow();
    return app.exec();
}

/// Shows a refused command line where nobody reads stderr but a display is at hand, as from
/// the menu; answers the exit status.
int refuse(int argc, char* argv[], const tanabashigo::CommandLine& commandLine) {
    const bool display =
        std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    if (!commandLine.refusal.empty() && display && tanabashigo::stderrUnread()) {
        askedPlatform = unusualPlatform(argc, argv);
        qtMessages = qInstallMessageHandler(startupMessages);
        QApplication app(argc, argv);
        qInstallMessageHandler(qtMessages);
        tanabashigo::showWhenUnseen(commandLine.refusal);
    }
    return commandLine.exitStatus;
}

}  // namespace

int main(int argc, char* argv[]) {
    holdStandardDescriptors();
    const tanabashigo::CommandLine commandLine = tanabashigo::parseCommandLine(argc, argv);
    if (commandLine.mode == tanabashigo::CommandLine::Mode::Exit) {
        return refuse(argc, argv, commandLine);
    }
    if (commandLine.mode == tanabashigo::CommandLine::Mode::Analyse ||
        commandLine.mode == tanabashigo::CommandLine::Mode::Compare) {
        return tanabashigo::runHeadless(argc, argv, commandLine);
    }
    std::unique_ptr<tanabashigo::RecordWriter> recorder;
    std::string refusal, warning;
    if (!commandLine.recordPath.empty()) {
        auto opened = tanabashigo::RecordWriter::open(commandLine.recordPath);
        if (const auto* fault = std::get_if<tanabashigo::RecordFault>(&opened)) {
            refusal = refusalText(*fault);
            std::fputs(refusal.c_str(), stderr);
            if (isatty(STDERR_FILENO) != 0) {
                return 2;  // said where it is read: no window needed
            }
        } else {
            recorder = std::move(std::get<0>(opened));
            warning = recorder->sizeWarning();
            std::fputs(warning.c_str(), stderr);
        }
    }
    return runWindows(argc, argv, commandLine, recorder.get(), refusal, warning);
}
