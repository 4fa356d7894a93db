#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

#include "cmdparams/cmd_params.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "common/project_paths.h"
#include "common/text.h"
#include "dust_groups_dialog.h"
#include "file_dialogs.h"
#include "options_dialog.h"
#include "source_dialog.h"
#include "sources_editor/real_text.h"
#include "ui_common/window_placement.h"

namespace ovd::sourcesui {

namespace {

constexpr int kIndexRole = Qt::UserRole;

// Image index 1 point, 2 line, 3 area.
QIcon kindIcon(int icon)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    if (icon == 1) {
        p.setBrush(QColor(200, 60, 40));
        p.drawEllipse(QRectF(3, 3, 10, 10));
    } else if (icon == 2) {
        p.setPen(QPen(QColor(40, 80, 200), 3));
        p.drawLine(2, 13, 14, 3);
    } else {
        p.setBrush(QColor(60, 160, 60));
        p.drawRect(QRectF(2.5, 4.5, 11, 8));
    }
    return QIcon(pm);
}

int twipsToPixels(long twips, const QWidget* w)
{
    return ovd::twipsToPixels(twips, w->logicalDpiX());
}
long pixelsToTwips(int px, const QWidget* w)
{
    return ovd::pixelsToTwips(px, w->logicalDpiX());
}

// Ctrl+1/2/3 by the key's place in the digit row, whatever the layout types there.
int kindFromCtrlDigit(const QKeyEvent* k)
{
    const quint32 scan = k->nativeScanCode();
    if (k->key() == Qt::Key_1 || scan == 10 || k->key() == Qt::Key_Plus)
        return 1;
    if (k->key() == Qt::Key_2 || scan == 11 || k->key() == 0x11A /* Ě */)
        return 2;
    if (k->key() == Qt::Key_3 || scan == 12 || k->key() == 0x160 /* Š */)
        return 3;
    return 0;
}

}  // namespace

MainWindow::MainWindow(std::string settingsPath)
    : m_ctx(std::move(settingsPath))
    , m_boxes(this, [this](const QString& t) { setStatus(t); })
{
    m_ctx.reporter = &m_boxes;
    setObjectName("frmOVRDZDR");
    setWindowTitle(productName());
    buildCentral();
    buildMenus();
    connectList();

    WindowGeometry g = loadFormGeometry(m_ctx.settingsFile, "frmOVRDZDR");
    if (g.stored) {
        restorePlacement(this, {g.left, g.top, g.width, g.height});
        if (g.windowState == 2)
            setWindowState(Qt::WindowMaximized);
    } else {
        resize(560, 480);
    }
    updateCount();
}

void MainWindow::buildCentral()
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    m_list = new QTreeWidget;
    m_list->setObjectName("lsvZdroje");
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels({QStringLiteral("Zdroj"), QStringLiteral("Název zdroje")});
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(false);
    m_list->setColumnWidth(0, twipsToPixels(m_ctx.settings.tab1Sl1, this));
    m_list->setColumnWidth(1, twipsToPixels(m_ctx.settings.tab1Sl2, this));
    layout->addWidget(m_list);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Komentář:")));
    m_comment = new QLineEdit;
    m_comment->setObjectName("tbKomentar");
    m_comment->setToolTip(QStringLiteral("Komentář (je uložen v hlavičce datového souboru)"));
    bottom->addWidget(m_comment, 1);
    m_count = new QLabel;
    m_count->setObjectName("lbPocetZdroju");
    m_count->setToolTip(QStringLiteral("Celkový počet zdrojů znečištění v tabulce"));
    bottom->addWidget(m_count);
    layout->addLayout(bottom);
    setCentralWidget(central);
    m_progress = new QProgressBar;
    m_progress->setMaximumWidth(160);
    m_progress->setTextVisible(false);
    statusBar()->addWidget(m_progress);
    m_status = new QLabel;
    m_status->setObjectName("stbPanel2");
    statusBar()->addWidget(m_status, 1);
}

void MainWindow::connectList()
{
    connect(m_comment, &QLineEdit::textEdited, this, [this](const QString& t) { m_ctx.list.comment = ss(t); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { editFocused(); });
    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { setStatus(item->text(0) + QStringLiteral("   ") + item->text(1)); });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { updateMenus(); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
        m_sortColumn = column;
        m_list->sortItems(column, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    });
    m_listHook = new EventHook(m_list, [this](QObject*, QEvent* e) { return handleListEvent(e); });
    m_viewportHook = new EventHook(m_list->viewport(), [this](QObject*, QEvent* e) {
        if (e->type() == QEvent::MouseButtonRelease) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::RightButton && m->modifiers() == Qt::NoModifier) {
                updateMenus();
                m_sourcesMenu->popup(m->globalPosition().toPoint());
                return true;
            }
        }
        return false;
    });
}

MainWindow::~MainWindow()
{
    // The list outlives this object's own part while the widgets are torn down: its events
    // and signals must not reach the half-destroyed window.
    delete m_listHook;
    delete m_viewportHook;
    disconnect(m_list, nullptr, this, nullptr);
}

void MainWindow::start(const std::vector<std::string>& args)
{
    cCMDParams params;
    params.CMDParams(joinCommandLine(args));
    const int count = params.Count();
    std::string ini = params.Item("ini", "").Value();
    // The editor works in the project's folder, where the project's relative paths point;
    // the files named on the command line are taken from where it was started.
    std::error_code ec;
    const std::string start = std::filesystem::current_path(ec).string();
    if (!ini.empty())
        ini = enterProjectFolder(ini).value_or(ini);
    auto fileArgument = [&](const char* position) { return rebasedPath(params.Item(position, "").Value(), start); };
    if (count < 2) {
        // The main program's launch with its project alone: only the project is taken over,
        // and a dust study has dust work on for this run, so saving keeps its dust file.
        m_ctx.projectPath = ini;
        if (!ini.empty() && trim(IniFile(ini).read("Global", "TypVypoctu")) == "1")
            m_ctx.dustOff = false;
    } else {
        m_ctx.settings.lastPoints = fileArgument("0");
        m_ctx.settings.lastDescription = fileArgument("1");
        m_ctx.settings.lastDust = fileArgument("2");
        const std::string groups = fileArgument("3");
        m_ctx.projectPath = ini;
        m_ctx.saveWithoutAsking = params.IsExistKey("s");
        if (m_ctx.saveWithoutAsking)
            m_ctx.dustOff = groups.empty();
        m_ctx.settings.souborSkupinPrachu = groups;
        updateCount();
        show();
        load({m_ctx.settings.lastPoints, m_ctx.settings.lastDescription, m_ctx.settings.lastDust}, false, groups);
    }
    if (m_ctx.groups.FileName().empty() && !m_ctx.settings.souborSkupinPrachu.empty() &&
        fileExists(m_ctx.settings.souborSkupinPrachu))
        m_ctx.groups.OtevriSkupiny(m_ctx.settings.souborSkupinPrachu, *m_ctx.reporter);
    updateMenus();
}

void MainWindow::load(const SourcePaths& paths, bool append, const std::string& groupsPath)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LoadResult r;
    {
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        r = loadSources(m_ctx.list, m_ctx.numbering, paths, append, m_ctx.settings.zdrojeBezPopisu, *m_ctx.reporter);
    }
    m_comment->setText(qs(m_ctx.list.comment));
    setStatus(QStringLiteral("Zobrazuji zdroje…"));
    rebuildList();
    setStatus({});
    if (append)
        checkDuplicates(false);
    if (!groupsPath.empty())
        m_ctx.groups.OtevriSkupiny(groupsPath, *m_ctx.reporter);
    // Appended sources make a list no file holds; a replaced list is what the files hold.
    m_ctx.modified = append ? (r.added > 0 || m_ctx.modified) : false;
}

void MainWindow::openCommand()
{
    if (m_ctx.modified) {
        Question q{"OVARDIX - Zdroje", "Uložit změny ?", Buttons::YesNoCancel, Answer::Yes};
        Answer a = m_ctx.reporter->ask(q);
        if (a == Answer::Cancel || (a == Answer::Yes && !save(true)))
            return;
    }
    auto choice = askLoadFiles(m_ctx, this);
    if (!choice)
        return;
    m_ctx.settings.lastPoints = choice->paths.points;
    m_ctx.settings.lastDescription = choice->paths.description;
    m_ctx.settings.lastDust = choice->paths.dust;
    load(choice->paths, choice->append, {});
}

bool MainWindow::save(bool all)
{
    SourcePaths paths{m_ctx.settings.lastPoints, m_ctx.settings.lastDescription, m_ctx.settings.lastDust};
    if (!m_ctx.saveWithoutAsking) {
        auto chosen = askSaveFiles(m_ctx, this);
        if (!chosen)
            return false;
        paths = *chosen;
        m_ctx.settings.lastPoints = paths.points;
        m_ctx.settings.lastDescription = paths.description;
        m_ctx.settings.lastDust = paths.dust;
    }
    m_progress->setRange(0, std::max(1, m_list->topLevelItemCount()));
    const bool ok =
        saveSources(sourcesInViewOrder(!all), paths, ss(m_comment->text()), m_ctx.projectPath, *m_ctx.reporter);
    m_progress->setValue(0);
    if (ok)
        m_ctx.modified = false;
    return ok;
}

void MainWindow::rebuildList()
{
    m_list->clear();
    for (std::size_t i = 0; i < m_ctx.list.sources.size(); ++i)
        addItem(i, false);
    updateCount();
}

void MainWindow::addItem(std::size_t index, bool selected)
{
    const cZdroje& s = *m_ctx.list.sources[index];
    auto* item = new QTreeWidgetItem({qs(zeroPadded(s.ICZ(), 9)), qs(s.NazevZdroje())});
    item->setIcon(0, kindIcon(s.Icon()));
    item->setData(0, kIndexRole, static_cast<qulonglong>(index));
    m_list->addTopLevelItem(item);
    item->setSelected(selected);
}

void MainWindow::updateCount()
{
    m_count->setText(QStringLiteral("Počet: %1").arg(m_ctx.list.sources.size()));
    if (m_ctx.list.sources.empty())
        m_ctx.numbering.reset();
    updateMenus();
}

void MainWindow::setStatus(const QString& text)
{
    m_status->setText(text);
}

std::vector<cZdroje*> MainWindow::selectedSources() const
{
    std::vector<cZdroje*> out;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->isSelected())
            out.push_back(m_ctx.list.sources[item->data(0, kIndexRole).toULongLong()].get());
    }
    return out;
}

std::vector<const cZdroje*> MainWindow::sourcesInViewOrder(bool selectedOnly) const
{
    std::vector<const cZdroje*> out;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (!selectedOnly || item->isSelected())
            out.push_back(m_ctx.list.sources[item->data(0, kIndexRole).toULongLong()].get());
    }
    return out;
}

void MainWindow::newSource(int kind)
{
    auto source = ovd::newSource(kind, m_ctx.numbering, m_ctx.lineDefaults);
    if (!source) {
        m_ctx.reporter->message(Severity::Warning, kNumberLimitCaption, kNumberLimitText);
        return;
    }
    if (!editSource(*source, m_ctx, this)) {
        m_ctx.numbering.giveBack();
        return;
    }
    m_ctx.list.sources.push_back(std::move(source));
    addItem(m_ctx.list.sources.size() - 1, true);
    m_ctx.modified = true;
    updateCount();
}

void MainWindow::editFocused()
{
    QTreeWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    cZdroje& s = *m_ctx.list.sources[item->data(0, kIndexRole).toULongLong()];
    if (!editSource(s, m_ctx, this))
        return;
    if (item->isSelected())
        item->setText(1, qs(s.NazevZdroje()));
    else
        rebuildList();
}

void MainWindow::deleteSelected()
{
    setStatus(QStringLiteral("Ruším vybrané zdroje…"));
    std::vector<bool> gone(m_ctx.list.sources.size(), false);
    bool any = false;
    for (QTreeWidgetItem* item : m_list->selectedItems()) {
        gone[item->data(0, kIndexRole).toULongLong()] = true;
        any = true;
    }
    if (any) {
        std::vector<std::unique_ptr<cZdroje>> kept;
        for (std::size_t i = 0; i < gone.size(); ++i)
            if (!gone[i])
                kept.push_back(std::move(m_ctx.list.sources[i]));
        m_ctx.list.sources = std::move(kept);
        m_ctx.modified = true;
    }
    rebuildList();
    setStatus({});
}

void MainWindow::checkDuplicates(bool fromMenu)
{
    setStatus(QStringLiteral("Kontroluji duplicity…"));
    m_sortColumn = 0;
    m_sortAscending = true;
    m_list->sortItems(0, Qt::AscendingOrder);
    std::vector<const cZdroje*> view = sourcesInViewOrder(false);
    const auto duplicates = findDuplicates(view);
    for (std::size_t position : duplicates)
        m_list->topLevelItem(static_cast<int>(position))->setSelected(true);
    setStatus({});
    const std::string title = "Kontrola duplicit";
    if (!duplicates.empty())
        m_ctx.reporter->message(Severity::Info, title,
                                "Bylo nalezeno " + std::to_string(duplicates.size()) + " duplicit.");
    else if (fromMenu)
        m_ctx.reporter->message(Severity::Info, title, "Nebyly nalezeny žádné duplicity.");
}

void MainWindow::selectKind(int kind)
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (m_ctx.list.sources[item->data(0, kIndexRole).toULongLong()]->TypZdrojeID() == kind)
            item->setSelected(true);
    }
}

bool MainWindow::handleListEvent(QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        setStatus({});
        return false;
    }
    if (e->type() != QEvent::KeyPress)
        return false;
    auto* k = static_cast<QKeyEvent*>(e);
    const auto mods = k->modifiers();
    if (mods & Qt::ControlModifier) {
        if (int kind = kindFromCtrlDigit(k)) {
            newSource(kind);
            return true;
        }
        return false;
    }
    if (mods & Qt::KeypadModifier) {
        auto setAll = [this](const QString& status, auto choose) {
            setStatus(status);
            for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
                QTreeWidgetItem* item = m_list->topLevelItem(i);
                item->setSelected(choose(item->isSelected()));
            }
            setStatus({});
        };
        if (k->key() == Qt::Key_Asterisk)
            return setAll(QStringLiteral("Invertuji vybrané zdroje…"), [](bool s) { return !s; }), true;
        if (k->key() == Qt::Key_Plus)
            return setAll(QStringLiteral("Označuji všechny zdroje…"), [](bool) { return true; }), true;
        if (k->key() == Qt::Key_Minus)
            return setAll(QStringLiteral("Ruším označení všech zdrojů…"), [](bool) { return false; }), true;
    }
    if (mods & ~Qt::KeypadModifier)
        return false;
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: editFocused(); return true;
    case Qt::Key_Insert:
        m_newMenu->popup(m_list->viewport()->mapToGlobal(m_list->visualItemRect(m_list->currentItem()).bottomLeft()));
        return true;
    case Qt::Key_Delete: deleteSelected(); return true;
    default: break;
    }
    // No incremental search: printable characters from "*" upward are dropped.
    const QString t = k->text();
    return !t.isEmpty() && t.at(0).unicode() >= 42;
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (m_ctx.modified) {
        Question q{"OVARDIX - Zdroje", "Uložit změny ?", Buttons::YesNo, Answer::Yes};
        if (m_ctx.reporter->ask(q) == Answer::Yes && !save(true)) {
            // A failed or cancelled save keeps the window, so nothing is lost.
            e->ignore();
            return;
        }
    }
    setStatus(QStringLiteral("Končím…"));
    storeSettings();
    e->accept();
}

void MainWindow::storeSettings()
{
    m_ctx.settings.tab1Sl1 = pixelsToTwips(m_list->columnWidth(0), this);
    m_ctx.settings.tab1Sl2 = pixelsToTwips(m_list->columnWidth(1), this);
    // A /s run's dust switch is its own; the stored NoPrach stays the user's choice.
    m_ctx.settings.save(m_ctx.settingsFile, *m_ctx.reporter);
    WindowGeometry g;
    const TwipsPlacement p = placementOf(this);
    g.left = p.left;
    g.top = p.top;
    g.width = p.width;
    g.height = p.height;
    g.windowState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    saveFormGeometry(m_ctx.settingsFile, "frmOVRDZDR", g, *m_ctx.reporter);
}

}  // namespace ovd::sourcesui
