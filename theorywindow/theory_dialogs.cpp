#include "theory_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace tanabashigo {

QStringList QtTheoryDialogs::openRecordFiles(QWidget* parent) {
    return QFileDialog::getOpenFileNames(
        parent, QStringLiteral("記録を開く"), QString(),
        QStringLiteral("記録ファイル (*.csv *.txt);;すべてのファイル (*)"));
}

QString QtTheoryDialogs::saveFile(QWidget* parent, const QString& title, const QString& name,
                                  const QStringList& filters) {
    QString chosenFilter;
    QString path = QFileDialog::getSaveFileName(parent, title, name,
                                                filters.join(QStringLiteral(";;")), &chosenFilter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        const QRegularExpressionMatch ending =
            QRegularExpression(QStringLiteral("\\*(\\.\\w+)")).match(chosenFilter);
        if (ending.hasMatch()) {
            path += ending.captured(1);
        }
    }
    return path;
}

void QtTheoryDialogs::warn(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

}  // namespace tanabashigo
