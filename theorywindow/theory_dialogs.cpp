#include "theory_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include "chart_view.h"
#include "whole_file.h"
#include "worksheet.h"

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

void saveAs(QWidget* parent, TheoryDialogs& dialogs, const QString& title, const QString& name,
            const QStringList& filters, const std::function<std::string(const QString&)>& bytes) {
    const QString path = dialogs.saveFile(parent, title, name, filters);
    if (path.isEmpty()) {
        return;
    }
    const SaveOutcome outcome = saveWholeFile(QFile::encodeName(path).toStdString(), bytes(path));
    if (!outcome.saved()) {
        dialogs.warn(parent, QStringLiteral("保存できません"),
                     QStringLiteral("「%1」に保存できませんでした（%2）。元のファイルはそのまま"
                                    "です。場所や名前を変えて、もう一度お試しください。\n%3")
                         .arg(path, QString::fromStdString(outcome.japanese()),
                              QString::fromStdString(outcome.english())));
    }
}

void saveWorksheet(QWidget* parent, TheoryDialogs& dialogs, const Worksheet& sheet) {
    saveAs(parent, dialogs, QStringLiteral("ワークシートを保存"),
           QStringLiteral("ワークシート_横線%1本_%2本目から.pdf").arg(sheet.rungs).arg(sheet.start),
           {QStringLiteral("PDF (*.pdf)")},
           [&sheet](const QString&) { return pagePdf(worksheetSvg(sheet)).toStdString(); });
}

}  // namespace tanabashigo
