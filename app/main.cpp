#include <QApplication>
#include <QWidget>

#include "command_line.h"

int main(int argc, char* argv[]) {
    const tanabashigo::CommandLine commandLine = tanabashigo::parseCommandLine(argc, argv);
    if (commandLine.mode == tanabashigo::CommandLine::Mode::Exit) {
        return commandLine.exitStatus;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(" たなばしご"));
    window.show();
    return app.exec();
}
