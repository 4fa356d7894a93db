#pragma once
// Starting the editor programs xovrzdr and xovrruz and waiting for them while the main
// window stays drawn (it takes no input meanwhile).
#include <QString>
#include <QStringList>

#include <functional>

#include "prompter.h"

class QWidget;

namespace ovd::mainui {

struct EditorLaunch {
    QString program;        // "xovrzdr" or "xovrruz"
    QStringList arguments;  // each a separate item, never joined into one line
    QString failure;        // shown when the program cannot be started
};

EditorLaunch sourcesEditor(const QString& projectPath);
EditorLaunch windRoseEditor(const QString& projectPath);
// The sources editor on the four source files, saving without asking ("/s").
EditorLaunch sourcesEditorOnFiles(const QString& points, const QString& description, const QString& dust,
                                  const QString& dustGroups, const QString& projectPath);

// The program beside the running executable, else on the search path; empty when neither.
QString findEditor(const QString& program);

// Runs the editor and waits for its end; shows the failure message and returns false when
// it cannot be started. `window` is disabled while the editor runs. The editor is never
// killed: should the program be ending meanwhile, it asks the editor to close and waits.
bool runEditor(const EditorLaunch&, Prompter&, QWidget* window);

// An editor started by runEditor is running (the windows then refuse their close box).
bool editorRunning();
// Asks the running editor to close as by its close box (SIGTERM); `afterEnd` runs once it
// has ended. False when no editor runs.
bool askEditorToClose(std::function<void()> afterEnd);

}  // namespace ovd::mainui
