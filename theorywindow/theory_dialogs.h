#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

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

/// Asks where to save and saves the file's `bytes` for the chosen path all or nothing; warns,
/// the old file untouched, when it fails.
void saveAs(QWidget* parent, TheoryDialogs& dialogs, const QString& title, const QString& name,
            const QStringList& filters, const std::function<std::string(const QString&)>& bytes);

struct Worksheet;

/// Asks where to save `sheet` and saves it there as one A4 page of PDF.
void saveWorksheet(QWidget* parent, TheoryDialogs& dialogs, const Worksheet& sheet);

/// The real dialogs.
class QtTheoryDialogs : public TheoryDialogs {
public:
    QStringList openRecordFiles(QWidget* parent) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& name,
                     const QStringList& filters) override;
    void warn(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace tanabashigo
