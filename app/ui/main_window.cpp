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
#include <functional>
#include <map>

#include "common/numbers.h"
#include "common/paths.h"
#include "editor_launch.h"
#include "picture_widget.h"
#include "prompter.h"
#include "tool_dialog.h"
#include "ui_common/help_viewer.h"
#include "ui_common/termination.h"

namespace ovd::ui {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

const char* const kProjectFilter = "Textový soubor *.ovd|*.ovd";

}  // namespace

MainWindow::MainWindow(Profile profile, QWidget* parent)
    : QMainWindow(parent)
    , m_profile(std::move(profile))
    , m_reporter(this)
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
    struct Item {
        const char* menu;     // top-level menu
        const char* submenu;  // or empty
        const char* text;     // "&Nový\tCtrl+N": the part after the tab is the shortcut
        std::function<void()> act;
    };
    const Item items[] = {
        {"&Soubor", "", "&Nový\tCtrl+N", [this] { newProject(); }},
        {"&Soubor", "", "&Otevřít...\tCtrl+O",
         [this] {
             QString path =
                 QFileDialog::getOpenFileName(this, QString::fromUtf8("Otevřít"), {}, qs(qtFilter(kProjectFilter)));
             if (!path.isEmpty())
                 openProject(path);
         }},
        {"&Soubor", "", "Uložit j&ako...", [this] { saveProjectAsDialog(); }},
        {"&Soubor", "", "-", {}},
        {"&Soubor", "", "&Konec", [this] { close(); }},
        {"&Pořízení", "", "&Zdroje znečištění...", [this] { launchSourcesEditor(); }},
        {"&Pořízení", "", "&Referenční body...", [this] { openToolDialog("grid"); }},
        {"&Pořízení", "", "&Výškopis...", [this] { openToolDialog("terrain"); }},
        {"&Pořízení", "", "Větrná &růžice...", [this] { launchWindRoseEditor(); }},
        {"&Výpočet", "", "Převod textových &souborů ...", [this] { openToolDialog("convert"); }},
        {"&Výpočet", "", "Výpočet koeficientů...", [this] { openToolDialog("coefficients"); }},
        {"&Výpočet", "", "Výpočet koncentrací ...", [this] { openToolDialog("concentrations"); }},
        {"&Výpočet", "", "Výpočet denní koncentrace ...", [this] { openToolDialog("daily"); }},
        {"Ná&stroje", "", "&Dopočet Z-souřadnic", [this] { openToolDialog("heights"); }},
        {"Ná&stroje", "", "&Přepočet souřadnic", [this] { openToolDialog("coords"); }},
        {"Ná&stroje", "", "&Tvorba izolinií", [this] { openToolDialog("isolines"); }},
        {"Ná&stroje", "&Export souborů", "&Převod matic koeficientů na TXT soubory",
         [this] { openToolDialog("matrix-export"); }},
        {"Ná&stroje", "&Export souborů", "&Export výstupních DBF souborů", [this] { openToolDialog("dbf-export"); }},
        {"&Zobrazení", "", "&Nástrojová lišta", {}},
        {"&Zobrazení", "", "&Stavová lišta", {}},
        {"&Nápověda", "", "&Nápověda aplikace ...", [this] { showHelp(); }},
        {"&Nápověda", "", "&O aplikaci Ovardix...", [this] { showAbout(); }},
    };
    QToolBar* toolBar = addToolBar(QString::fromUtf8("Nástrojová lišta"));
    toolBar->setObjectName("toolBar");
    std::map<QString, QMenu*> menus;
    for (const Item& item : items) {
        QString menuName = QString::fromUtf8(item.menu) + "/" + QString::fromUtf8(item.submenu);
        QMenu*& menu = menus[menuName];
        if (!menu) {
            QMenu*& top = menus[QString::fromUtf8(item.menu) + "/"];
            if (!top)
                top = menuBar()->addMenu(QString::fromUtf8(item.menu));
            menu = *item.submenu ? top->addMenu(QString::fromUtf8(item.submenu)) : top;
        }
        QString text = QString::fromUtf8(item.text);
        if (text == "-") {
            menu->addSeparator();
            continue;
        }
        QString shortcut = text.section('\t', 1);
        auto* a = menu->addAction(text.section('\t', 0, 0));
        if (!shortcut.isEmpty())
            a->setShortcut(QKeySequence(shortcut));
        if (item.act)
            connect(a, &QAction::triggered, this, item.act);
        m_actions.push_back(a);
    }

    QAction* showToolBar = action("&Nástrojová lišta");
    QAction* showStatusBar = action("&Stavová lišta");
    for (QAction* a : {showToolBar, showStatusBar}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    connect(showToolBar, &QAction::toggled, toolBar, &QWidget::setVisible);
    connect(showStatusBar, &QAction::toggled, statusBar(), &QWidget::setVisible);

    auto icon = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
    action("&Nový")->setIcon(icon(QStyle::SP_FileIcon));
    action("&Otevřít...")->setIcon(icon(QStyle::SP_DialogOpenButton));
    action("Uložit j&ako...")->setIcon(icon(QStyle::SP_DialogSaveButton));
    action("&O aplikaci Ovardix...")->setIcon(icon(QStyle::SP_MessageBoxInformation));
    for (const char* name : {"&Nový", "&Otevřít...", "Uložit j&ako...", "&O aplikaci Ovardix..."})
        toolBar->addAction(action(name));
}

QAction* MainWindow::action(const QString& text) const
{
    for (QAction* a : m_actions)
        if (a->text() == text)
            return a;
    return nullptr;
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
    updateTitle();
    return true;
}

void MainWindow::openProject(const QString& path)
{
    m_project = std::make_unique<Project>(Project::open(path.toStdString()));
    updateTitle();
}

bool MainWindow::saveProjectAs(const QString& path)
{
    bool saved = m_project->saveAs(path.toStdString(), m_reporter) == Project::SaveResult::Saved;
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
    openTool(id, *m_project, m_profile, this);
}

void MainWindow::launchSourcesEditor()
{
    runEditor(sourcesEditor(qs(m_project->path())), this);
}

void MainWindow::launchWindRoseEditor()
{
    runEditor(windRoseEditor(qs(m_project->path())), this);
}

ToolStatus MainWindow::runUnattended()
{
    m_unattended = true;
    setWindowTitle(QString::fromUtf8("Probíhá výpočet na pozadí ...."));
    struct Step {
        const char* tool;
        const char* name;
    };
    const Step steps[] = {
        {"convert", "převod vstupních souborů"},
        {"coefficients", "výpočet koeficientů Theta, Delta, ZMax"},
        {"concentrations", "výpočet koncentrací"},
    };
    for (const Step& step : steps) {
        ToolDialog dialog(*findToolForm(step.tool), *m_project, m_profile, this);
        dialog.show();
        ToolStatus status = dialog.runTool({}, true);
        dialog.hide();
        if (status != ToolStatus::Done) {
            m_reporter.error(cformat("Výpočet bez obsluhy se zastavil v kroku: %s.", step.name));
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

}  // namespace ovd::ui
