#include "editor_launch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include "prompter.h"

namespace ovd::ui {

namespace {

const char* const kSourcesFailure = "Nelze spustit modul pro pořízení zdrojů !";
const char* const kWindRoseFailure = "Nelze spustit modul pro pořízení větrné růžice !";

}  // namespace

EditorLaunch sourcesEditor(const QString& projectPath)
{
    return {"xovrzdr", {"/ini", projectPath}, QString::fromUtf8(kSourcesFailure)};
}

EditorLaunch windRoseEditor(const QString& projectPath)
{
    return {"xovrruz", {"/ini", projectPath}, QString::fromUtf8(kWindRoseFailure)};
}

EditorLaunch sourcesEditorOnFiles(const QString& points, const QString& description, const QString& dust,
                                  const QString& dustGroups, const QString& projectPath)
{
    return {"xovrzdr", {points, description, dust, dustGroups, "/s", "/ini", projectPath},
            QString::fromUtf8(kSourcesFailure)};
}

QString findEditor(const QString& program)
{
    // $OVARDIX_EDITOR_DIR, when set, is the only place looked at (installations that keep
    // the editors apart, and tests that must not find the ones built beside them).
    QByteArray fixed = qgetenv("OVARDIX_EDITOR_DIR");
    if (!fixed.isEmpty()) {
        QFileInfo there(QString::fromLocal8Bit(fixed) + "/" + program);
        return there.isFile() && there.isExecutable() ? there.absoluteFilePath() : QString();
    }
    QFileInfo beside(QCoreApplication::applicationDirPath() + "/" + program);
    if (beside.isFile() && beside.isExecutable())
        return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(program);
}

bool runEditor(const EditorLaunch& launch, QWidget* window)
{
    QString path = findEditor(launch.program);
    QProcess process;
    bool started = false;
    if (!path.isEmpty()) {
        process.setProgram(path);
        process.setArguments(launch.arguments);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start();
        started = process.waitForStarted();
    }
    if (!started) {
        prompter().message(Severity::Error, "", launch.failure.toStdString());
        return false;
    }
    if (window)
        window->setEnabled(false);
    if (process.state() != QProcess::NotRunning) {
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning)
            loop.exec();
    }
    if (window)
        window->setEnabled(true);
    return true;
}

}  // namespace ovd::ui
