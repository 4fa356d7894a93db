#pragma once
// The main window of ovardix: the project (the document), the menu of tools, the editors'
// launch and the unattended run.
#include <QMainWindow>
#include <QToolBar>

#include <memory>
#include <optional>

#include "app/tool_registry.h"
#include "common/profile.h"
#include "common/project.h"
#include "common/tool.h"
#include "qt_reporter.h"

namespace ovd::mainui {

class MainWindow : public QMainWindow, private ProgressView {
public:
    // `services` are the program's, handed to every tool it runs.
    MainWindow(Profile profile, const Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    Project& project() { return *m_project; }
    const Profile& profile() const { return m_profile; }

    // "&Nový": a new untitled project in the temporary folder; false when none can be made.
    bool newProject();
    void openProject(const QString& path);
    // "Uložit j&ako..." onto this path (asks before overwriting); false unless saved.
    bool saveProjectAs(const QString& path);
    bool saveProjectAsDialog();

    // The main road without questions: conversion, coefficients, concentrations. Stops at
    // the first step that fails; "Výpočet na pozadí dokončen." only after all three.
    ToolStatus runUnattended();
    bool unattended() const { return m_unattended; }

    const Services& services() const { return m_services; }
    void openToolDialog(const char* id);
    // "Mapa výsledků" on the current project, beside this window.
    void openMapWindow();
    void launchSourcesEditor();
    void launchWindRoseEditor();
    void showHelp();
    void showAbout();
    // The session or a signal ends the program: a running editor is asked to close (its
    // own question decides) and waited for, then this window closes as by its close box.
    void requestTermination();

protected:
    void closeEvent(QCloseEvent*) override;

private:
    void showStatus(int, const QString&) override { }
    void showProgress(long, long) override { }
    void showTitle(const QString& t) override { setWindowTitle(t); }

    void buildMenus();
    void fillToolBar(QToolBar* toolBar);
    void updateTitle();
    bool confirmClose();
    void savePlacement();

    Profile m_profile;
    const Services m_services;
    std::unique_ptr<Project> m_project;
    QtReporter m_reporter;
    bool m_unattended = false;
};

}  // namespace ovd::mainui
