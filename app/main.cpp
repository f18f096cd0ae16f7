#include <QApplication>
#include <cstdio>

#include "analyse_command.h"
#include "command_line.h"
#include "dialogs.h"
#include "random_source.h"
#include "sound_cues.h"
#include "window_flow.h"

namespace {

/// Whether a window system can be reached, so Qt does not abort for want of one.
bool displayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

int runWindows(int argc, char* argv[], const tanabashigo::CommandLine& commandLine) {
    using namespace tanabashigo;
    if (!displayAvailable()) {
        std::fputs(
            "たなばしご: 画面（ディスプレイ）が見つからないため、起動できません。\n"
            "tanabashigo: no display found (DISPLAY or WAYLAND_DISPLAY is not set).\n",
            stderr);
        return 2;
    }
    QApplication app(argc, argv);
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
        QCoreApplication app(argc, argv);
        return tanabashigo::runAnalyse(commandLine);
    }
    return runWindows(argc, argv, commandLine);
}
