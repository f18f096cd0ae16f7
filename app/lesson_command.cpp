#include "lesson_command.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <cstdio>
#include <memory>
#include <variant>

#include "dialogs.h"
#include "lesson_window.h"
#include "random_source.h"
#include "record_writer.h"
#include "screen_fit.h"
#include "sound_cues.h"
#include "startup_notice.h"

namespace tanabashigo {

namespace {

/// The record in the user's data folder, or null after telling the teacher why there is none.
std::unique_ptr<RecordWriter> defaultRecord(QString& path) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    path = QDir(folder).filePath(QStringLiteral("授業の記録.csv"));
    QDir().mkpath(folder);
    auto opened = RecordWriter::open(QFile::encodeName(path).toStdString());
    if (auto* writer = std::get_if<std::unique_ptr<RecordWriter>>(&opened)) {
        return std::move(*writer);
    }
    const RecordFault& fault = std::get<RecordFault>(opened);
    const QString text = QStringLiteral(
                             "記録ファイル「%1」に記録できないため、着地は記録され"
                             "ません。%2\n\nLandings are not recorded: %3.")
                             .arg(path, QString::fromStdString(fault.japanese),
                                  QString::fromStdString(fault.english));
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (screenVisible()) {
        QMessageBox::warning(nullptr, QStringLiteral("たなばしご"), text);
    }
    path.clear();
    return nullptr;
}

}  // namespace

int runLessonWindow(const CommandLine& commandLine, LandingRecorder* recorder) {
    LessonOptions options;
    options.rungs = commandLine.lessonRungs;
    options.startLine = commandLine.start;
    options.seed = commandLine.seed.value_or(freshSeed());
    options.speed = commandLine.tickMs ? speedForTick(*commandLine.tickMs) : options.speed;
    std::unique_ptr<RecordWriter> ownRecord;
    if (recorder == nullptr) {
        ownRecord = defaultRecord(options.recordPath);
        recorder = ownRecord.get();
    } else {
        options.recordPath = QFile::decodeName(commandLine.recordPath.c_str());
    }
    options.recorder = recorder;
    QtDialogs dialogs;
    SoundEffectCues sounds;
    options.playCue = [&sounds](const QString& file) { sounds.play(file); };
    LessonWindow window(dialogs, options);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        window.resize(screen->availableGeometry().size() * 0.92);
        fitAndCentre(&window, screen);
    }
    window.show();
    return QApplication::exec();
}

}  // namespace tanabashigo
