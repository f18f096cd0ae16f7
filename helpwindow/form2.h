#pragma once

#include <QWidget>

class QPushButton;

namespace tanabashigo {

class PictureBox;

/// The help window: a white text box with the question put to the class and the operating
/// instructions, a rule, and a close button that hands back to a fresh main window.
///
/// Controls sit at fixed positions; resizing the window moves nothing. The box is wide enough
/// for every help line in the font at hand. The window deletes itself when it closes.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    QPushButton* Command1;  ///< the close button "閉じる"
    QWidget* Line1;         ///< the rule under the close button
    PictureBox* Picture1;   ///< the white box the help text is printed on

public slots:
    /// Clears the text box and prints the twelve help lines from its top-left corner.
    void Form_Activate();
    /// Asks for a fresh main window, then closes (and so deletes) this window.
    void Command1_Click();

signals:
    /// The close button was pressed: whoever owns the window flow shows a new main window.
    void mainWindowRequested();

protected:
    /// The first showing runs Form_Activate once the window is up; later ones do not.
    void showEvent(QShowEvent* event) override;

private:
    /// Widens the text box, the rule and the window alike, with the close button kept at the
    /// right, when the longest help line would not fit in the box's font.
    void widenForTheLongestLine();

    bool activationScheduled_ = false;
};

}  // namespace tanabashigo
