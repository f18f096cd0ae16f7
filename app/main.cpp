#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "chart_command.h"
#include "command_line.h"
#include "dialogs.h"
#include "random_source.h"
#include "sound_cues.h"
#include "window_flow.h"

namespace {

constexpr char kNoDisplay[] =
    "たなばしご: 画面（ディスプレイ）に接続できないため、起動できません。\n"
    "tanabashigo: no display could be opened (is DISPLAY or WAYLAND_DISPLAY set?).\n";

QtMessageHandler qtMessages = nullptr;

/// Stands in for Qt's own handler while the window system starts: a window system that
/// cannot be reached ends the program with one clear message and status 2, not an abort.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(2);
    }
    if (qtMessages != nullptr) {
        qtMessages(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }
}

int runWindows(int argc, char* argv[], const tanabashigo::CommandLine& commandLine) {
    using namespace tanabashigo;
    qtMessages = qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtMessages);
    QApplication::setApplicationName(QStringLiteral("tanabashigo"));
    QApplication::setApplicationDisplayName(QStringLiteral("たなばしご"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.tanabashigo.Tanabashigo"));
    SystemClock clock;
    RandomSource random =
        commandLine.seed ? RandomSource(*commandLine.seed) : RandomSource(freshSeed(), clock);
    QtDialogs dialogs;
    SoundEffectCues sounds;
    WindowFlow flow(random, dialogs, sounds);
    QObject::connect(&flow, &WindowFlow::endRequested, &app, [] { QCoreApplication::exit(0); });
    flow.showMainWindow();
    return app.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const tanabashigo::CommandLine commandLine = tanabashigo::parseCommandLine(argc, argv);
    if (commandLine.mode == tanabashigo::CommandLine::Mode::Exit) {
        return commandLine.exitStatus;
    }
    if (commandLine.mode == tanabashigo::CommandLine::Mode::Analyse) {
        return tanabashigo::runHeadless(argc, argv, commandLine);
    }
    return runWindows(argc, argv, commandLine);
}
