#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tanabashigo {

/// The file choosers and messages of the theory window, behind an interface for tests.
class TheoryDialogs {
public:
    virtual ~TheoryDialogs() = default;
    /// The record files the teacher picks, one or several; none when cancelled.
    virtual QStringList openRecordFiles(QWidget* parent) = 0;
    /// Where to save, offering `filters` such as 「PNG 画像 (*.png)」; empty when cancelled.
    /// A name without an ending gets the chosen filter's.
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& name,
                             const QStringList& filters) = 0;
    /// A warning with an OK button.
    virtual void warn(QWidget* parent, const QString& title, const QString& text) = 0;
};

/// The real dialogs.
class QtTheoryDialogs : public TheoryDialogs {
public:
    QStringList openRecordFiles(QWidget* parent) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& name,
                     const QStringList& filters) override;
    void warn(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace tanabashigo
