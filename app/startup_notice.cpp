#include "startup_notice.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>

namespace tanabashigo {

bool stderrUnread() {
    struct stat status {};
    return isatty(STDERR_FILENO) == 0 &&
           !(fstat(STDERR_FILENO, &status) == 0 && S_ISFIFO(status.st_mode));
}

bool screenVisible() {
    static const QStringList kUnseen{QStringLiteral("offscreen"), QStringLiteral("minimal"),
                                     QStringLiteral("minimalegl")};
    return !kUnseen.contains(QGuiApplication::platformName()) &&
           QGuiApplication::primaryScreen() != nullptr;
}

void showWhenUnseen(const std::string& text) {
    if (stderrUnread() && screenVisible()) {
        QMessageBox::warning(nullptr, QStringLiteral("たなばしご"), QString::fromStdString(text));
    }
}

}  // namespace tanabashigo
