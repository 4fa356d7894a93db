#include "ovrdruz.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "cell_editor.h"
#include "cmdparams/cmd_params.h"
#include "common/paths.h"
#include "common/project_paths.h"
#include "frm_ruzice.h"
#include "ui_common/dialogs.h"
#include "ui_common/help_viewer.h"
#include "ui_common/menus.h"
#include "ui_common/message_box_reporter.h"
#include "ui_common/qt_text.h"
#include "ui_common/window_placement.h"
#include "windrose/control/pollution_rose.h"
#include "windrose/hundredths.h"

namespace ovd::roseui {

EditorArguments EditorArguments::parse(const std::vector<std::string>& args)
{
    cCMDParams params;
    params.CMDParams(joinCommandLine(args));
    EditorArguments a;
    params.Count();
    a.file = params.Item("0", "").Value();
    a.ini = params.Item("ini", "").Value();
    // The editor works in the project's folder, where the project's relative paths point;
    // the file named on the command line is taken from where it was started.
    std::error_code ec;
    const std::string start = std::filesystem::current_path(ec).string();
    if (!a.ini.empty()) {
        a.ini = enterProjectFolder(a.ini).value_or(a.ini);
        a.file = rebasedPath(a.file, start);
    }
    a.bound = params.IsExistKey("s");
    return a;
}

ovrdruz::ovrdruz(const EditorArguments& arguments, Reporter* reporter, std::string settingsPath)
    : m_arguments(arguments)
    , m_settingsPath(std::move(settingsPath))
{
    setObjectName("ovrdruz");
    if (!reporter) {
        m_ownReporter = std::make_unique<MessageBoxReporter>(this);
        reporter = m_ownReporter.get();
    }
    m_reporter = reporter;
    if (m_settingsPath.empty())
        m_settingsPath = WindRoseEditorSettings::locate();
    std::error_code ec;
    if (std::string folder = folderOf(m_settingsPath); !folder.empty())
        std::filesystem::create_directories(folder, ec);
    m_settings = WindRoseEditorSettings::load(m_settingsPath);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* commentRow = new QHBoxLayout;
    commentRow->addWidget(new QLabel(QString::fromUtf8("Komentář:"), central));
    Komentar = new QLineEdit(central);
    Komentar->setObjectName("Komentar");
    commentRow->addWidget(Komentar, 1);
    layout->addLayout(commentRow);
    Tabulka = new QTableWidget(kGridRows, kGridColumns, central);
    Tabulka->setObjectName("Tabulka");
    layout->addWidget(Tabulka, 1);
    setCentralWidget(central);
    EditBox = new CellEditor(Tabulka->viewport());
    EditBox->setObjectName("EditBox");
    EditBox->committed = [this] { commitEditBox(); };
    EditBox->abandoned = [this] { abandonEditBox(); };
    connect(Komentar, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setComment(text.toStdString()); });

    buildMenus();
    buildTable();
    m_document.grid().setBudgets(WindRoseGrid::parseBudgets(m_settings.recount));

    m_graph = new frmRuzice(m_settings, m_document.grid(), *m_reporter, this);
    m_graph->visibilityChanged = [this](bool shown) { findAction(this, "mnuVetrnaRuzice")->setChecked(shown); };

    m_recount = false;
    m_document.start(arguments.file, arguments.bound, arguments.ini, *m_reporter);
    m_recount = true;
    // A file bound to a study is opened and saved by the main program only.
    for (const char* name : {"mnuOtevri", "mnuUloz", "mnuSPC1"})
        findAction(this, name)->setVisible(!m_document.bound());
    showAll();
    redraw();
    updateTitle();

    resize(900, 480);
    if (m_settings.left >= 0 && m_settings.top >= 0)
        restorePlacement(this, {m_settings.left, m_settings.top, m_settings.width, m_settings.height});
    else if (m_settings.width > 0 && m_settings.height > 0)
        resize(twipsToPixels(m_settings.width, logicalDpiX()), twipsToPixels(m_settings.height, logicalDpiX()));
}

ovrdruz::~ovrdruz() = default;

void ovrdruz::showWithGraph()
{
    show();
    keepFrameOnScreen(this);
    // The graph window starts beside the table (over its right part on a narrow screen).
    if (QScreen* screen = this->screen()) {
        QRect r(QPoint(frameGeometry().right() + 8, frameGeometry().top()), m_graph->size());
        m_graph->move(keptInside(r, screen->availableGeometry()).topLeft());
    }
    m_graph->setVisible(m_settings.visible);
    findAction(this, "mnuVetrnaRuzice")->setChecked(m_settings.visible);
}

void ovrdruz::buildMenus()
{
    const char* const file = "&Soubor";
    const char* const edit = "&Úpravy";
    const char* const help = "Náp&ověda";
    const std::vector<MenuEntry> entries = {
        {file, "", "mnuOtevri", "&Otevři", [this] { openDialog(); }},
        {file, "", "mnuUloz", "&Ulož", [this] { saveFile(m_settings.safeSave); }},
        {file, "", "", "-", {}},
        {file, "", "mnuProtokol", "&Protokol", [this] { showProtocolWindow(); }},
        {file, "", "mnuSPC1", "-", {}},
        {file, "", "mnuKonec", "&Konec", [this] { close(); }},
        {edit, "", "mnuRozpocet", "&Rozpočet", [this] { distribute(); }},
        {edit, "", "", "-", {}},
        {edit, "", "mnuMoznosti", "&Možnosti", [this] { showSettingsWindow(); }},
        {"&Okna", "", "mnuVetrnaRuzice", "&Větrná růžice", {}, "", true},
        {help, "", "mnuHelp", "&Nápověda", [this] { openHelp(); }},
        {help, "", "", "-", {}},
        {help, "", "mnuOAplikaci", "&O aplikaci",
         [this] {
             QMessageBox::about(this, QString::fromUtf8("O aplikaci"),
                                QString::fromUtf8("Produkt: xovrruz\nVerze: ") + QStringLiteral(OVD_VERSION));
         }},
    };
    ovd::buildMenus(menuBar(), entries, this);
    connect(findAction(this, "mnuVetrnaRuzice"), &QAction::triggered, this,
            [this](bool on) { m_graph->setVisible(on); });
}

void ovrdruz::buildTable()
{
    Tabulka->horizontalHeader()->hide();
    Tabulka->verticalHeader()->hide();
    Tabulka->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tabulka->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Tabulka->installEventFilter(this);
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c) {
            auto* item = new QTableWidgetItem(qs(WindRoseGrid::title(r, c)));
            item->setFlags(r == 0 || c == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (r > 0 && c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Tabulka->setItem(r, c, item);
        }
    Tabulka->setCurrentCell(1, 1);
    applySettings();
}

void ovrdruz::applySettings()
{
    StoredFont stored = StoredFont::parse(m_settings.editFont);
    QFont font(qs(stored.name));
    font.setPointSizeF(stored.size);
    font.setBold(stored.bold);
    font.setItalic(stored.italic);
    font.setStrikeOut(stored.strikethrough);
    font.setUnderline(stored.underline);
    Tabulka->setFont(font);
    EditBox->setFont(font);
    QFontMetrics metrics(font);
    int valueWidth = metrics.horizontalAdvance(QStringLiteral("-100.00")) + 12;
    for (int c = 1; c < kGridColumns; ++c)
        Tabulka->setColumnWidth(c, std::max(valueWidth, metrics.horizontalAdvance(qs(kGridColumnTitles[c])) + 14));
    Tabulka->setColumnWidth(0, metrics.horizontalAdvance(QString::fromUtf8(" III.tř. v=1.7 m/s")) + 12);
    Tabulka->setColumnWidth(kRowSumColumn, metrics.horizontalAdvance(QStringLiteral("100.00/100.00")) + 12);
    Tabulka->verticalHeader()->setMinimumSectionSize(metrics.height() + 4);
    Tabulka->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    int dpi = logicalDpiX();
    if (m_settings.colWidth0 > 0)
        Tabulka->setColumnWidth(0, twipsToPixels(m_settings.colWidth0, dpi));
    if (m_settings.colWidth10 > 0)
        Tabulka->setColumnWidth(kRowSumColumn, twipsToPixels(m_settings.colWidth10, dpi));
    QColor fixed = palette().color(QPalette::Button);
    QColor text = colorFromWindows(m_settings.colorText);
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c) {
            QTableWidgetItem* item = Tabulka->item(r, c);
            bool locked = r == 0 || c == 0 || !WindRoseGrid::isEditable(r, c);
            if (r > 0 && c > 0)
                item->setForeground(text);
            if (locked)
                item->setBackground(fixed);
            else if (c == kBudgetColumn)
                item->setBackground(colorFromWindows(m_settings.colorRozpocet));
            else
                item->setBackground(palette().color(QPalette::Base));
        }
    showTotals();
    if (m_graph)
        m_graph->applySettings();
}

char ovrdruz::decimalSeparator() const
{
    QString point = QLocale().decimalPoint();
    return !point.isEmpty() && point.at(0).unicode() < 0x80 ? static_cast<char>(point.at(0).unicode()) : '.';
}

void ovrdruz::showCell(int row, int column)
{
    Tabulka->item(row, column)->setText(qs(m_document.grid().cellText(row, column, decimalSeparator())));
}

void ovrdruz::showAll()
{
    for (int r = 1; r <= kSumRow; ++r)
        for (int c = 1; c <= kBudgetColumn; ++c)
            showCell(r, c);
    if (Komentar->text().toStdString() != m_document.comment())
        Komentar->setText(qs(m_document.comment()));
    showTotals();
}

void ovrdruz::showTotals()
{
    QTableWidgetItem* total = Tabulka->item(kSumRow, kRowSumColumn);
    total->setText(qs(m_document.grid().grandTotalText(decimalSeparator())));
    total->setBackground(
        colorFromWindows(m_document.grid().totalsAre100() ? m_settings.colorSum : m_settings.colorErr));
}

void ovrdruz::redraw()
{
    if (m_recount && m_graph)
        m_graph->PrekresliSchema();
}

void ovrdruz::updateTitle()
{
    setWindowTitle(m_document.path().empty() ? qs(kApplicationTitle) : qs(m_document.windowTitle(kApplicationTitle)));
}

bool ovrdruz::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Tabulka && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        int row = Tabulka->currentRow(), column = Tabulka->currentColumn();
        QString text = key->text();
        bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // "," is the decimal key of the Czech keypad.
        bool opens = text.size() == 1 && (text[0].isDigit() || text[0] == '.' || text[0] == ',');
        if (enter || opens) {
            if (WindRoseGrid::isEditable(row, column))
                openEditBox(enter ? Tabulka->item(row, column)->text() : text, enter);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ovrdruz::openEditBox(const QString& typed, bool replaceAll)
{
    int row = Tabulka->currentRow(), column = Tabulka->currentColumn();
    if (!WindRoseGrid::isEditable(row, column))
        return;
    QRect cell = Tabulka->visualItemRect(Tabulka->item(row, column));
    EditBox->setGeometry(cell);
    EditBox->setText(typed);
    EditBox->show();
    EditBox->setFocus();
    if (replaceAll)
        EditBox->selectAll();  // opened by Enter over the cell's value: typing replaces it
}

void ovrdruz::abandonEditBox()
{
    EditBox->hide();
    Tabulka->setFocus();
}

void ovrdruz::commitEditBox()
{
    long long value = parseHundredths(EditBox->text().toStdString());
    int entered = 0;
    QList<QTableWidgetSelectionRange> ranges = Tabulka->selectedRanges();
    if (ranges.isEmpty())
        ranges.append(QTableWidgetSelectionRange(Tabulka->currentRow(), Tabulka->currentColumn(), Tabulka->currentRow(),
                                                 Tabulka->currentColumn()));
    for (const QTableWidgetSelectionRange& range : ranges)
        entered += m_document.grid().enterBlock(range.topRow(), range.leftColumn(), range.bottomRow(),
                                                range.rightColumn(), value);
    if (entered > 0)
        m_document.setChanged(true);
    EditBox->hide();
    Tabulka->setFocus();
    showAll();
    redraw();
}

void ovrdruz::distribute()
{
    m_recount = false;
    m_document.grid().distribute();
    m_document.setChanged(true);
    m_recount = true;
    showAll();
    redraw();
}

std::string ovrdruz::chooseSaveTarget()
{
    if (m_chooseSaveTarget)
        return m_chooseSaveTarget();
    QString path = QFileDialog::getSaveFileName(this, QString::fromUtf8("Ulož soubor s větrnou růžicí"),
                                                qs(m_settings.savePath), qs(kRoseFileFilter));
    if (!path.isEmpty())
        m_settings.savePath = folderOf(path.toStdString());
    return path.toStdString();
}

bool ovrdruz::saveFile(bool safeSave)
{
    if (!m_document.save(safeSave, *m_reporter, [this] { return chooseSaveTarget(); }))
        return false;
    updateTitle();
    redraw();
    return true;
}

void ovrdruz::openDialog()
{
    if (!m_document.confirmClose(*m_reporter, [this] { return chooseSaveTarget(); }))
        return;
    QString path = QFileDialog::getOpenFileName(this, QString::fromUtf8("Otevři soubor s větrnou růžicí"),
                                                qs(m_settings.openPath), qs(kRoseFileFilter));
    if (path.isEmpty())
        return;
    m_settings.openPath = folderOf(path.toStdString());
    openFile(path.toStdString());
}

bool ovrdruz::openFile(const std::string& path)
{
    m_recount = false;
    bool opened = m_document.open(path, *m_reporter);
    m_recount = true;
    showAll();
    redraw();
    updateTitle();
    return opened;
}

void ovrdruz::openHelp()
{
    showHelp(this, QStringLiteral("guide/xovrruz.md"), *m_reporter);
}

void ovrdruz::storeSettings()
{
    if (isMinimized() || isMaximized())
        showNormal();  // the placement of the normal window is what is stored
    int dpi = logicalDpiX();
    const TwipsPlacement placement = placementOf(this);
    m_settings.left = placement.left;
    m_settings.top = placement.top;
    m_settings.width = placement.width;
    m_settings.height = placement.height;
    m_settings.colWidth0 = pixelsToTwips(Tabulka->columnWidth(0), dpi);
    m_settings.colWidth10 = pixelsToTwips(Tabulka->columnWidth(kRowSumColumn), dpi);
    m_settings.recount = m_document.grid().budgetsText();
    m_settings.visible = findAction(this, "mnuVetrnaRuzice")->isChecked();
    m_settings.save(m_settingsPath, *m_reporter);
}

void ovrdruz::closeEvent(QCloseEvent* event)
{
    if (!m_document.confirmClose(*m_reporter, [this] { return chooseSaveTarget(); })) {
        event->ignore();
        return;
    }
    storeSettings();
    m_graph->visibilityChanged = nullptr;
    m_graph->hide();
    event->accept();
}

}  // namespace ovd::roseui
