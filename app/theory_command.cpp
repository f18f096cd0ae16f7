#include "theory_command.h"

#include <QApplication>

#include "theory_dialogs.h"
#include "theory_window.h"

namespace tanabashigo {

int runTheoryWindow(const CommandLine& commandLine) {
    QtTheoryDialogs dialogs;
    TheoryWindow window(dialogs, commandLine.seed.value_or(1));
    window.show();
    return QApplication::exec();
}

}  // namespace tanabashigo
