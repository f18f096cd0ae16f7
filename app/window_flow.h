#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <optional>

#include "form1.h"

namespace tanabashigo {

class Dialogs;
class RandomSource;
class SoundCues;

/// Keeps exactly one of the two windows open: the main window, or the help window.
///
/// HELP on the main window unloads it (its timers and state go with it) and shows the help
/// window; the help window's close button unloads it and loads a fresh main window. The new
/// window is shown before the old one closes, so the program never sees a moment without a
/// window; closing a window from its title bar leaves none and so ends the program. At a
/// zoom other than 1 each window opens centred on the screen of the one before it. A main
/// window that comes back from the help stands where the one before it stood, moved only as
/// far as it takes to be whole on the screen.
class WindowFlow : public QObject {
    Q_OBJECT
public:
    /// `random`, `dialogs` and `sounds` must outlive the flow and its windows; every main
    /// window is made with `options`.
    WindowFlow(RandomSource& random, Dialogs& dialogs, SoundCues& sounds,
               Form1Options options = {});
    /// Unloads the window still open, before what it was given goes away.
    ~WindowFlow() override;

    /// Loads and shows the main window.
    void showMainWindow();
    /// Unloads the main window and shows the help window.
    void showHelpWindow();
    /// The window open now; null once the last one has closed.
    QWidget* currentWindow() const { return current_; }

signals:
    /// The user confirmed quitting in a main window.
    void endRequested();

private:
    /// Moves `window` to stand where `frame` stood, as far within its screen as it takes to
    /// show it whole.
    static void standWhole(QWidget* window, QRect frame);
    /// Shows `next` and closes the window that was open.
    void replaceWindow(QWidget* next);

    RandomSource& random_;
    Dialogs& dialogs_;
    SoundCues& sounds_;
    Form1Options options_;
    QPointer<QWidget> current_;
    std::optional<QRect> mainPlace_;  ///< where the last main window stood, its frame included
};

}  // namespace tanabashigo
