#pragma once

#include <QString>

class QWidget;

namespace tanabashigo {

/// The modal boxes the main window asks its questions through, so tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// A modal text-input box: the typed text, or empty text when cancelled.
    virtual QString inputBox(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    /// A modal message box with Yes (the default) and No and no icon: true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text, const QString& title) = 0;
    /// A modal warning with an OK button.
    virtual void warn(QWidget* parent, const QString& text, const QString& title) = 0;
};

/// The real boxes, with Japanese button captions.
class QtDialogs final : public Dialogs {
public:
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    bool askYesNo(QWidget* parent, const QString& text, const QString& title) override;
    void warn(QWidget* parent, const QString& text, const QString& title) override;
};

}  // namespace tanabashigo
