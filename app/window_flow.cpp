#include "window_flow.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "form1.h"
#include "form2.h"
#include "screen_fit.h"
#include "twips.h"

namespace tanabashigo {

WindowFlow::WindowFlow(RandomSource& random, Dialogs& dialogs, SoundCues& sounds,
                       Form1Options options)
    : random_(random), dialogs_(dialogs), sounds_(sounds), options_(std::move(options)) {}

WindowFlow::~WindowFlow() {
    delete current_;
}

void WindowFlow::showMainWindow() {
    auto* form = new Form1(random_, dialogs_, sounds_, options_);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &Form1::helpRequested, this, &WindowFlow::showHelpWindow);
    connect(form, &Form1::endRequested, this, &WindowFlow::endRequested);
    replaceWindow(form);
}

void WindowFlow::showHelpWindow() {
    if (current_) {
        mainPlace_ = current_->frameGeometry();
    }
    auto* help = new Form2;
    connect(help, &Form2::mainWindowRequested, this, &WindowFlow::showMainWindow);
    replaceWindow(help);
}

void WindowFlow::standWhole(QWidget* window, QRect frame) {
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    screen = screen != nullptr ? screen : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(
            std::max(room.left(), std::min(frame.left(), room.right() - frame.width() + 1)));
        frame.moveTop(
            std::max(room.top(), std::min(frame.top(), room.bottom() - frame.height() + 1)));
    }
    window->move(frame.topLeft());
}

void WindowFlow::replaceWindow(QWidget* next) {
    QPointer<QWidget> previous = current_;
    current_ = next;
    if (layoutZoom() != 1.0) {  // a zoomed window stays whole on the first window's screen
        fitAndCentre(next, previous ? previous->screen() : QGuiApplication::primaryScreen());
    }
    if (mainPlace_ && qobject_cast<Form1*>(next) != nullptr) {
        standWhole(next, *mainPlace_);
    }
    next->show();
    if (previous) {
        previous->close();
    }
}

}  // namespace tanabashigo
