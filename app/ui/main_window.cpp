#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <cstdio>

#include "app/concentration_commands.h"
#include "common/gis_services.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/project_paths.h"
#include "editor_launch.h"
#include "map_window.h"
#include "picture_widget.h"
#include "prompter.h"
#include "report_run.h"
#include "study_system_dialog.h"
#include "tool_dialog.h"
#include "ui_common/help_viewer.h"
#include "ui_common/menus.h"
#include "ui_common/qt_text.h"
#include "ui_common/termination.h"

namespace ovd::mainui {

namespace {

const char* const kProjectFilter = "Textový soubor *.ovd|*.ovd";

}  // namespace

MainWindow::MainWindow(Profile profile, const Services& services, QWidget* parent)
    : QMainWindow(parent)
    , m_profile(std::move(profile))
    , m_services(services)
    , m_reporter(prompterOf(services), this)
{
    Profile::Placement pl = m_profile.placement();
    setGeometry(static_cast<int>(pl.x), static_cast<int>(pl.y), static_cast<int>(pl.cx), static_cast<int>(pl.cy));
    setCentralWidget(new PictureWidget(this));
    buildMenus();
    statusBar()->showMessage(QString::fromUtf8("Připraveno"));
    m_project = std::make_unique<Project>();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    const std::vector<MenuEntry> entries = {
        {"&Soubor", "", "mnuNovy", "&Nový", [this] { newProject(); }, "Ctrl+N"},
        {"&Soubor", "", "mnuOtevrit", "&Otevřít...",
         [this] {
             QString path =
                 QFileDialog::getOpenFileName(this, QString::fromUtf8("Otevřít"), {}, qs(qtFilter(kProjectFilter)));
             if (!path.isEmpty())
                 openProject(path);
         },
         "Ctrl+O"},
        {"&Soubor", "", "mnuUlozitJako", "Uložit j&ako...", [this] { saveProjectAsDialog(); }},
        {"&Soubor", "", "", "-", {}},
        {"&Soubor", "", "mnuKonec", "&Konec", [this] { close(); }},
        {"&Pořízení", "", "mnuZdroje", "&Zdroje znečištění...", [this] { launchSourcesEditor(); }},
        {"&Pořízení", "", "mnuReferencniBody", "&Referenční body...", [this] { openToolDialog("grid"); }},
        {"&Pořízení", "", "mnuVyskopis", "&Výškopis...", [this] { openToolDialog("terrain"); }},
        {"&Pořízení", "", "mnuVetrnaRuzice", "Větrná &růžice...", [this] { launchWindRoseEditor(); }},
        {"&Výpočet", "", "mnuPrevod", "Převod textových &souborů ...", [this] { openToolDialog("convert"); }},
        {"&Výpočet", "", "mnuKoeficienty", "Výpočet koeficientů...", [this] { openToolDialog("coefficients"); }},
        {"&Výpočet", "", "mnuKoncentrace", "Výpočet koncentrací ...", [this] { openToolDialog("concentrations"); }},
        {"&Výpočet", "", "mnuDenni", "Výpočet denní koncentrace ...", [this] { openToolDialog("daily"); }},
        {"&Výpočet", "", "mnuHodnoceni", "Hodnocení imisní zátěže…", [this] { openToolDialog("assess"); }},
        {"&Výpočet", "", "mnuVarianty", "Porovnání variant…", [this] { openToolDialog("compare"); }},
        {"&Výpočet", "", "mnuZmenaEmisi", "Změna emisí skupin…", [this] { openToolDialog("scale-groups"); }},
        {"&Výpočet", "", "mnuMapa", "&Mapa výsledků...", [this] { openMapWindow(); }},
        {"&Výpočet", "", "mnuZprava", "Zpráva o studii…", [this] { writeStudyReportDialog(*m_project, m_profile, m_services, this); }},
        {"Ná&stroje", "", "mnuDopocetZ", "&Dopočet Z-souřadnic", [this] { openToolDialog("heights"); }},
        {"Ná&stroje", "", "mnuPrepocet", "&Přepočet souřadnic", [this] { openToolDialog("coords"); }},
        {"Ná&stroje", "", "mnuIzolinie", "&Tvorba izolinií", [this] { openToolDialog("isolines"); }},
        {"Ná&stroje", "", "mnuSouradnicovySystem", "&Souřadnicový systém studie…",
         [this] { editStudySystem(*m_project, m_services.gis, m_reporter, this); }},
        {"Ná&stroje", "&Export souborů", "mnuExportMatic", "&Převod matic koeficientů na TXT soubory",
         [this] { openToolDialog("matrix-export"); }},
        {"Ná&stroje", "&Export souborů", "mnuExportDbf", "&Export výstupních DBF souborů",
         [this] { openToolDialog("dbf-export"); }},
        {"&Zobrazení", "", "mnuNastrojovaLista", "&Nástrojová lišta", {}, "", true},
        {"&Zobrazení", "", "mnuStavovaLista", "&Stavová lišta", {}, "", true},
        {"&Nápověda", "", "mnuNapoveda", "&Nápověda aplikace ...", [this] { showHelp(); }},
        {"&Nápověda", "", "mnuOAplikaci", "&O aplikaci Ovardix...", [this] { showAbout(); }},
    };
    QToolBar* toolBar = addToolBar(QString::fromUtf8("Nástrojová lišta"));
    toolBar->setObjectName("toolBar");
    ovd::buildMenus(menuBar(), entries, this);
    fillToolBar(toolBar);
}

// The tool bar's buttons and the View menu's switches of the two bars.
void MainWindow::fillToolBar(QToolBar* toolBar)
{
    QAction* showToolBar = findAction(this, "mnuNastrojovaLista");
    QAction* showStatusBar = findAction(this, "mnuStavovaLista");
    for (QAction* a : {showToolBar, showStatusBar})
        a->setChecked(true);
    connect(showToolBar, &QAction::toggled, toolBar, &QWidget::setVisible);
    connect(showStatusBar, &QAction::toggled, statusBar(), &QWidget::setVisible);

    auto icon = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
    findAction(this, "mnuNovy")->setIcon(icon(QStyle::SP_FileIcon));
    findAction(this, "mnuOtevrit")->setIcon(icon(QStyle::SP_DialogOpenButton));
    findAction(this, "mnuUlozitJako")->setIcon(icon(QStyle::SP_DialogSaveButton));
    findAction(this, "mnuOAplikaci")->setIcon(icon(QStyle::SP_MessageBoxInformation));
    findAction(this, "mnuMapa")->setIcon(mapIcon());
    for (const char* name : {"mnuNovy", "mnuOtevrit", "mnuUlozitJako", "mnuMapa", "mnuOAplikaci"})
        toolBar->addAction(findAction(this, name));
}

void MainWindow::updateTitle()
{
    setWindowTitle(qs(m_project->windowTitle()));
}

bool MainWindow::newProject()
{
    std::optional<Project> p = Project::createUntitled();
    if (!p) {
        m_reporter.error("Nelze vytvořit dočasný soubor s parametry výpočtu v " + tempFolder());
        return false;
    }
    m_project = std::make_unique<Project>(std::move(*p));
    // A new study is placed in the national grid, so that its maps land where they should.
    m_project->writeString(section::kGlobal, kStudySystemKey, kNewProjectSystem, m_reporter);
    updateTitle();
    return true;
}

void MainWindow::openProject(const QString& path)
{
    // The tools, the map and the editors work in the project's folder, where its relative
    // paths point.
    const std::string file = path.toStdString();
    m_project = std::make_unique<Project>(Project::open(enterProjectFolder(file).value_or(file)));
    updateTitle();
}

bool MainWindow::saveProjectAs(const QString& path)
{
    bool saved = m_project->saveAs(path.toStdString(), m_reporter) == Project::SaveResult::Saved;
    // An absolute path stays valid in its folder, which becomes the current one.
    if (saved && !m_project->path().empty() && m_project->path().front() == '/')
        enterProjectFolder(m_project->path());
    updateTitle();
    return saved;
}

bool MainWindow::saveProjectAsDialog()
{
    QString path =
        QFileDialog::getSaveFileName(this, QString::fromUtf8("Uložit jako"), {}, qs(qtFilter(kProjectFilter)), nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    return !path.isEmpty() && saveProjectAs(path);
}

void MainWindow::openToolDialog(const char* id)
{
    openTool(id, *m_project, m_profile, m_services, this);
}

void MainWindow::openMapWindow()
{
    auto* map = new MapWindow(*m_project, m_services, this);
    map->show();
}

void MainWindow::launchSourcesEditor()
{
    runEditor(sourcesEditor(qs(m_project->path())), prompterOf(m_services), this);
}

void MainWindow::launchWindRoseEditor()
{
    runEditor(windRoseEditor(qs(m_project->path())), prompterOf(m_services), this);
}

ToolStatus MainWindow::runUnattended()
{
    m_unattended = true;
    setWindowTitle(QString::fromUtf8("Probíhá výpočet na pozadí ...."));
    for (const RoadStep& step : kMainRoad) {
        ToolDialog dialog(*findToolForm(step.tool), *m_project, m_profile, m_services, this);
        dialog.show();
        ToolStatus status = dialog.runTool({}, true);
        dialog.hide();
        if (status != ToolStatus::Done) {
            m_reporter.error(roadStoppedText(step));
            return status;
        }
    }
    m_reporter.info("Výpočet na pozadí dokončen.");
    return ToolStatus::Done;
}

void MainWindow::showHelp()
{
    ovd::showHelp(this, "guide.html", m_reporter);
}

void MainWindow::showAbout()
{
    QMessageBox box(QMessageBox::Information, QString::fromUtf8("O aplikaci Ovardix"),
                    QString::fromUtf8("O aplikaci Ovard97 verze 2001"), QMessageBox::Ok, this);
    box.setObjectName("about");
    box.setInformativeText(QString::fromUtf8("Ovardix %1: rozptyl znečišťujících látek v ovzduší")
                               .arg(QCoreApplication::applicationVersion()));
    box.exec();
}

bool MainWindow::confirmClose()
{
    if (m_project->untitled()) {
        Question q{"Ukončení aplikace", "Soubor s parametry výpočtu není uložen. Přejete si jej uložit ?",
                   Buttons::YesNoCancel, Answer::Yes};
        switch (m_reporter.ask(q)) {
        case Answer::Yes: return saveProjectAsDialog();
        case Answer::No: {
            // Nobody can reach the never-saved temporary project after this; remove it.
            std::string temp = m_project->path();
            if (!temp.empty())
                std::remove(temp.c_str());
            return true;
        }
        case Answer::Cancel: return false;
        }
    }
    Question q{"Ukončení aplikace", "Přejete si ukončit aplikaci ?", Buttons::YesNo, Answer::Yes};
    return m_reporter.ask(q) == Answer::Yes;
}

void MainWindow::savePlacement()
{
    QRect g = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    m_profile.savePlacement({g.x(), g.y(), g.width(), g.height()}, m_reporter);
}

void MainWindow::requestTermination()
{
    if (!isVisible())
        return;
    if (askEditorToClose([this] { requestTermination(); }))
        return;
    closeWhenFree(this);
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (editorRunning()) {
        // The editor holds the user's work; the window takes no input until it has ended.
        e->ignore();
        return;
    }
    if (m_unattended) {
        e->accept();
        return;
    }
    if (!confirmClose()) {
        e->ignore();
        return;
    }
    savePlacement();
    e->accept();
}

}  // namespace ovd::mainui
