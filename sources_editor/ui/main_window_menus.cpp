// The main window's menus and the rules that enable and hide their entries.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTreeWidget>

#include "dust_groups_dialog.h"
#include "main_window.h"
#include "options_dialog.h"

namespace ovd::ui {

QAction* MainWindow::action(QMenu* menu, const char* name, const QString& text, std::function<void()> run)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return a;
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Soubor"));
    m_open = action(file, "mnuOtevri", QStringLiteral("&Otevři"), [this] { openCommand(); });
    m_groups =
        action(file, "mnuSkupinyPrachu", QStringLiteral("Skupiny prachu"), [this] { editDustGroups(m_ctx, this); });
    file->addSeparator();
    action(file, "mnuMoznosti", QStringLiteral("&Možnosti"), [this] {
        if (editOptions(m_ctx, this))
            updateMenus();
    });
    file->addSeparator();
    action(file, "mnuKonec", QStringLiteral("&Konec"), [this] { close(); });

    m_sourcesMenu = menuBar()->addMenu(QStringLiteral("&Zdroje"));
    m_sourcesMenu->setObjectName("mnuZdroje");
    m_saveSelected =
        action(m_sourcesMenu, "mnuUlozOznacene", QStringLiteral("Ulož označené zdroje"), [this] { save(false); });
    m_saveAll = action(m_sourcesMenu, "mnuUlozVse", QStringLiteral("Ulož všechny zdroje"), [this] { save(true); });
    m_sourcesMenu->addSeparator();
    m_newMenu = m_sourcesMenu->addMenu(QStringLiteral("Nový zdroj"));
    m_newMenu->setObjectName("mnuNovyZdroj");
    action(m_newMenu, "mnuNovyBodovy", QStringLiteral("&1. Bodový zdroj"), [this] { newSource(1); });
    action(m_newMenu, "mnuNovyPlosny", QStringLiteral("&2. Plošný zdroj"), [this] { newSource(2); });
    action(m_newMenu, "mnuNovyLiniovy", QStringLiteral("&3. Liniový zdroj"), [this] { newSource(3); });
    m_edit = action(m_sourcesMenu, "mnuNastavZdroj", QStringLiteral("Nastav zdroj"), [this] { editFocused(); });
    m_sourcesMenu->addSeparator();
    m_delSelected =
        action(m_sourcesMenu, "mnuZrusOznacene", QStringLiteral("Zruš označené"), [this] { deleteSelected(); });
    m_delAll = action(m_sourcesMenu, "mnuZrusVse", QStringLiteral("Zruš všechny"), [this] {
        Question q{"Zrušit všechny zdroje", "Mám opravdu zrušit všechny zdroje ?", Buttons::YesNo, Answer::No};
        if (m_ctx.reporter->ask(q) != Answer::Yes)
            return;
        m_ctx.list.sources.clear();
        m_ctx.list.comment.clear();
        m_comment->clear();
        rebuildList();
    });
    connect(m_sourcesMenu, &QMenu::aboutToShow, this, [this] { updateMenus(); });

    m_computeMenu = menuBar()->addMenu(QStringLiteral("&Výpočty a kontroly"));
    m_middle = action(
        m_computeMenu, "mnuStredUseku", QStringLiteral("&Výpočet středového bodu úseku pro vybrané liniové zdroje"),
        [this] {
            const QString title = QStringLiteral("Výpočet středového bodu úseku liniových zdrojů");
            Question q{
                ss(title),
                "Pro liniové zdroje z vybrané množiny zdrojů\nbudou vypočítány souřadnice středového bodu úseku.\n\nMám spustit výpočet ?",
                Buttons::YesNo, Answer::Yes};
            if (m_ctx.reporter->ask(q) != Answer::Yes)
                return;
            if (computeMiddlePoints(selectedSources()))
                m_ctx.modified = true;
            m_ctx.reporter->message(Severity::Info, ss(title), "Hotovo…");
        });
    m_batch =
        action(m_computeMenu, "mnuVypocetBZ", QStringLiteral("&Výpočet 'Vs', 'd', 'w0' pro vybrané bodové zdroje"),
               [this] { computeSelected(m_ctx, selectedSources(), this); });
    m_duplicates =
        action(m_computeMenu, "mnuDuplicity", QStringLiteral("Kontrola duplicit"), [this] { checkDuplicates(true); });

    QMenu* select = menuBar()->addMenu(QStringLiteral("&Označ zdroje"));
    m_selectKinds.push_back(action(select, "mnuOznacBodove", QStringLiteral("&Bodové"), [this] { selectKind(1); }));
    m_selectKinds.push_back(action(select, "mnuOznacLiniove", QStringLiteral("&Liniové"), [this] { selectKind(3); }));
    m_selectKinds.push_back(action(select, "mnuOznacPlosne", QStringLiteral("&Plošné"), [this] { selectKind(2); }));
    m_selectAll = action(select, "mnuOznacVse", QStringLiteral("Označ vše"), [this] { m_list->selectAll(); });
    m_copy = action(select, "mnuKopiruj", QStringLiteral("Kopíruj do schránky"),
                    [this] { QApplication::clipboard()->setText(qs(clipboardText(sourcesInViewOrder(true)))); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("Nápo&věda"));
    action(help, "mnuNapoveda", QStringLiteral("Nápověda pro OVARDIX - Zdroje"), [this] { openHelp(this); });
    action(help, "mnuOAplikaci", QStringLiteral("&O aplikaci"), [this] {
        QMessageBox::about(this, QStringLiteral("O aplikaci"),
                           QStringLiteral("Produkt: ") + productName() + QStringLiteral("\nVerze: ") +
                               productVersion());
    });
}

void MainWindow::updateMenus()
{
    const int n = static_cast<int>(m_ctx.list.sources.size());
    const int sel = static_cast<int>(m_list->selectedItems().size());
    const bool s = m_ctx.saveWithoutAsking;
    m_open->setVisible(!s);
    m_groups->setVisible(!s && !m_ctx.dustOff);
    m_saveSelected->setVisible(!s);
    m_saveAll->setVisible(!s);
    m_saveSelected->setEnabled(sel >= 1);
    m_saveAll->setEnabled(n >= 1);
    m_edit->setEnabled(sel == 1);
    m_delSelected->setEnabled(sel >= 1);
    m_delAll->setEnabled(n >= 1);
    m_computeMenu->setEnabled(n >= 1);
    m_middle->setEnabled(sel >= 1);
    m_batch->setEnabled(sel >= 1);
    m_duplicates->setEnabled(n >= 2);
    for (QAction* a : m_selectKinds)
        a->setEnabled(n >= 1);
    m_selectAll->setEnabled(n >= 1);
    m_copy->setEnabled(n >= 1);
}

}  // namespace ovd::ui
