#pragma once

#include <QWidget>

class QLabel;

namespace tanabashigo {

/// 授業用's own help: its controls and keys, in type sized for the lesson window it covers,
/// with a close button. It deletes itself when it closes.
class LessonHelp : public QWidget {
    Q_OBJECT
public:
    /// A help window over `lesson`, its type scaled to the lesson window's height.
    explicit LessonHelp(QWidget* lesson);

signals:
    /// The help is going away: the lesson may go on.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace tanabashigo
