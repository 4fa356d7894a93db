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
#include "ui_common/menus.h"

namespace ovd::sourcesui {

void MainWindow::buildMenus()
{
    const char* const file = "&Soubor";
    const char* const sources = "&Zdroje";
    const char* const compute = "&Výpočty a kontroly";
    const char* const select = "&Označ zdroje";
    const char* const help = "Nápo&věda";
    const std::vector<MenuEntry> entries = {
        {file, "", "mnuOtevri", "&Otevři", [this] { openCommand(); }},
        {file, "", "mnuSkupinyPrachu", "Skupiny prachu", [this] { editDustGroups(m_ctx, this); }},
        {file, "", "", "-", {}},
        {file, "", "mnuMoznosti", "&Možnosti", [this] { editOptionsAndMenus(); }},
        {file, "", "", "-", {}},
        {file, "", "mnuKonec", "&Konec", [this] { close(); }},
        {sources, "", "mnuUlozOznacene", "Ulož označené zdroje", [this] { save(false); }},
        {sources, "", "mnuUlozVse", "Ulož všechny zdroje", [this] { save(true); }},
        {sources, "", "", "-", {}},
        {sources, "Nový zdroj", "mnuNovyBodovy", "&1. Bodový zdroj", [this] { newSource(kPointSource); }},
        {sources, "Nový zdroj", "mnuNovyPlosny", "&2. Plošný zdroj", [this] { newSource(kAreaSource); }},
        {sources, "Nový zdroj", "mnuNovyLiniovy", "&3. Liniový zdroj", [this] { newSource(kLineSource); }},
        {sources, "", "mnuNastavZdroj", "Nastav zdroj", [this] { editFocused(); }},
        {sources, "", "", "-", {}},
        {sources, "", "mnuZrusOznacene", "Zruš označené", [this] { deleteSelected(); }},
        {sources, "", "mnuZrusVse", "Zruš všechny", [this] { deleteAll(); }},
        {compute, "", "mnuStredUseku", "&Výpočet středového bodu úseku pro vybrané liniové zdroje",
         [this] { computeMiddlePointsOfSelected(); }},
        {compute, "", "mnuVypocetBZ", "&Výpočet 'Vs', 'd', 'w0' pro vybrané bodové zdroje",
         [this] { computeSelected(m_ctx, selectedSources(), this); }},
        {compute, "", "mnuDuplicity", "Kontrola duplicit", [this] { checkDuplicates(true); }},
        {select, "", "mnuOznacBodove", "&Bodové", [this] { selectKind(kPointSource); }},
        {select, "", "mnuOznacLiniove", "&Liniové", [this] { selectKind(kLineSource); }},
        {select, "", "mnuOznacPlosne", "&Plošné", [this] { selectKind(kAreaSource); }},
        {select, "", "mnuOznacVse", "Označ vše", [this] { m_list->selectAll(); }},
        {select, "", "mnuKopiruj", "Kopíruj do schránky",
         [this] { QApplication::clipboard()->setText(qs(clipboardText(sourcesInViewOrder(true)))); }},
        {help, "", "mnuNapoveda", "Nápověda pro OVARDIX - Zdroje", [this] { openHelp(this); }},
        {help, "", "mnuOAplikaci", "&O aplikaci", [this] { showAbout(); }},
    };
    std::map<QString, QMenu*> menus = ovd::buildMenus(menuBar(), entries, this);
    m_sourcesMenu = menus.at(QString::fromUtf8(sources));
    m_sourcesMenu->setObjectName("mnuZdroje");
    m_newMenu = menus.at(QString::fromUtf8(sources) + QStringLiteral("/Nový zdroj"));
    m_newMenu->setObjectName("mnuNovyZdroj");
    m_computeMenu = menus.at(QString::fromUtf8(compute));
    connect(m_sourcesMenu, &QMenu::aboutToShow, this, [this] { updateMenus(); });
}

void MainWindow::editOptionsAndMenus()
{
    if (editOptions(m_ctx, this))
        updateMenus();
}

void MainWindow::deleteAll()
{
    Question q{"Zrušit všechny zdroje", "Mám opravdu zrušit všechny zdroje ?", Buttons::YesNo, Answer::No};
    if (m_ctx.reporter->ask(q) != Answer::Yes)
        return;
    m_ctx.list.sources.clear();
    m_ctx.list.comment.clear();
    m_comment->clear();
    rebuildList();
}

void MainWindow::showAbout()
{
    QMessageBox::about(this, QStringLiteral("O aplikaci"),
                       QStringLiteral("Produkt: ") + productName() + QStringLiteral("\nVerze: ") + productVersion());
}

void MainWindow::computeMiddlePointsOfSelected()
{
    const QString title = QStringLiteral("Výpočet středového bodu úseku liniových zdrojů");
    Question q{ss(title),
               "Pro liniové zdroje z vybrané množiny zdrojů\nbudou vypočítány souřadnice středového bodu "
               "úseku.\n\nMám spustit výpočet ?",
               Buttons::YesNo, Answer::Yes};
    if (m_ctx.reporter->ask(q) != Answer::Yes)
        return;
    if (computeMiddlePoints(selectedSources()))
        m_ctx.modified = true;
    m_ctx.reporter->message(Severity::Info, ss(title), "Hotovo…");
}

void MainWindow::updateMenus()
{
    const int n = static_cast<int>(m_ctx.list.sources.size());
    const int sel = static_cast<int>(m_list->selectedItems().size());
    const bool s = m_ctx.saveWithoutAsking;
    const auto set = [this](const char* name, bool visible, bool enabled) {
        QAction* a = findAction(this, name);
        a->setVisible(visible);
        a->setEnabled(enabled);
    };
    set("mnuOtevri", !s, true);
    set("mnuSkupinyPrachu", !s && !m_ctx.dustOff, true);
    set("mnuUlozOznacene", !s, sel >= 1);
    set("mnuUlozVse", !s, n >= 1);
    set("mnuNastavZdroj", true, sel == 1);
    set("mnuZrusOznacene", true, sel >= 1);
    set("mnuZrusVse", true, n >= 1);
    m_computeMenu->setEnabled(n >= 1);
    set("mnuStredUseku", true, sel >= 1);
    set("mnuVypocetBZ", true, sel >= 1);
    set("mnuDuplicity", true, n >= 2);
    for (const char* name : {"mnuOznacBodove", "mnuOznacLiniove", "mnuOznacPlosne", "mnuOznacVse", "mnuKopiruj"})
        set(name, true, n >= 1);
}

}  // namespace ovd::sourcesui
