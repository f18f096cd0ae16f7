#include "window_flow.h"

#include <QGuiApplication>

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
    auto* help = new Form2;
    connect(help, &Form2::mainWindowRequested, this, &WindowFlow::showMainWindow);
    replaceWindow(help);
}

void WindowFlow::replaceWindow(QWidget* next) {
    QPointer<QWidget> previous = current_;
    current_ = next;
    if (layoutZoom() != 1.0) {  // a zoomed window stays whole on the first window's screen
        fitAndCentre(next, previous ? previous->screen() : QGuiApplication::primaryScreen());
    }
    next->show();
    if (previous) {
        previous->close();
    }
}

}  // namespace tanabashigo
