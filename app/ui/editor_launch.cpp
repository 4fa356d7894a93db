#include "editor_launch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include "prompter.h"

namespace ovd::mainui {

namespace {

const char* const kSourcesFailure = "Nelze spustit modul pro pořízení zdrojů !";
const char* const kWindRoseFailure = "Nelze spustit modul pro pořízení větrné růžice !";

// The editor being waited for; one at a time, as the windows take no input meanwhile.
QPointer<QProcess> g_running;

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
    return {"xovrzdr",
            {points, description, dust, dustGroups, "/s", "/ini", projectPath},
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

bool runEditor(const EditorLaunch& launch, Prompter& prompter, QWidget* window)
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
        prompter.message(Severity::Error, "", launch.failure.toStdString());
        return false;
    }
    if (window)
        window->setEnabled(false);
    g_running = &process;
    if (process.state() != QProcess::NotRunning) {
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning)
            loop.exec();
    }
    if (process.state() != QProcess::NotRunning) {
        // The event loop was told to end (the application is quitting): the editor still
        // holds the user's work, so it gets its close request and is waited for.
        process.terminate();
        process.waitForFinished(-1);
    }
    g_running = nullptr;
    if (window)
        window->setEnabled(true);
    return true;
}

bool editorRunning()
{
    return g_running && g_running->state() != QProcess::NotRunning;
}

bool askEditorToClose(std::function<void()> afterEnd)
{
    if (!editorRunning())
        return false;
    QObject::connect(
        g_running.data(), &QProcess::finished, qApp, [afterEnd] { QTimer::singleShot(0, qApp, afterEnd); },
        Qt::SingleShotConnection);
    g_running->terminate();
    return true;
}

}  // namespace ovd::mainui
