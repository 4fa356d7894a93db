#include "map_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QShortcut>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>

#include "app/study_tables.h"
#include "basemap_dialog.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/project_paths.h"
#include "common/text.h"
#include "common/tool.h"
#include "gis/basemap_source.h"
#include "map/map_layers.h"
#include "map_canvas.h"
#include "ui_common/dialogs.h"
#include "ui_common/qt_text.h"

namespace ovd::mainui {

namespace {

// The texts of the layer switches, in the order of MapLayer.
const char* const kLayerTitles[kMapLayerCount] = {"Terén", "Podklad", "Izopásma",      "Izolinie",
                                                  "Zdroje", "Body",   "Větrná růžice", "Izolinie ze souboru"};
const char* const kBreakTitles[] = {"stejné kroky", "zvolené hladiny", "limitní hodnoty"};

// Whether the limit values divide a column into classes: concentrations, and the shares of
// the limit of an assessment.
bool limitsApply(const std::string& column)
{
    return columnUnit(column) == "µg/m³" || column == "PODIL_LIM" || column == "PODIL_PRI";
}

// The background is read again for a view this long after its last change ...
constexpr int kViewSettleMs = 300;
// ... when the view is this much finer than the background read.
constexpr double kFinerView = 1.5;

bool sameBox(const StudyBox& a, const StudyBox& b)
{
    return a.xmin == b.xmin && a.ymin == b.ymin && a.xmax == b.xmax && a.ymax == b.ymax;
}

bool isBackgroundWarning(const std::string& w)
{
    return w.rfind(kBackgroundWarning, 0) == 0;
}

// A wait cursor while the map is built.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

QIcon mapIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(QColor(214, 226, 190));
    p.drawRoundedRect(QRectF(2, 4, 28, 24), 3, 3);
    p.setPen(Qt::NoPen);
    const double dots[][3] = {{10, 12, 0.2}, {20, 18, 1.0}, {13, 21, 0.6}, {23, 10, 0.4}};
    for (const auto& d : dots) {
        p.setBrush(rampColour(d[2]));
        p.drawEllipse(QPointF(d[0], d[1]), 3.5, 3.5);
    }
    return QIcon(pm);
}

MapWindow::MapWindow(const Project& project, const Services& services, QWidget* parent, Reporter* reporter)
    : QMainWindow(parent, Qt::Window)
    , m_project(Project::open(project.path()))
    , m_boxes(prompterOf(services), this, [this](const QString& s) { statusBar()->showMessage(s); })
    , m_reporter(reporter ? *reporter : m_boxes)
{
    setObjectName("frmMapa");
    setWindowTitle(QString::fromUtf8("Mapa výsledků"));
    setWindowIcon(mapIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    m_settings = loadSettings<MapSettings>(m_project);
    m_canvas = new MapCanvas(this);
    setCentralWidget(m_canvas);
    buildControls();
    m_canvas->setLayers(layerSet(m_settings));
    m_canvas->onCursorMoved = [this](double x, double y) { showCursor(x, y); };
    m_canvas->onPointClicked = [this](std::optional<std::size_t> point) { showRow(point); };
    m_reads.onRead = [this](MapModel&& part) { backgroundRead(std::move(part)); };
    m_viewSettled.setSingleShot(true);
    m_viewSettled.setInterval(kViewSettleMs);
    connect(&m_viewSettled, &QTimer::timeout, this, &MapWindow::viewMoved);
    m_canvas->onViewChanged = [this] { m_viewSettled.start(); };
    resize(1100, 720);
    reload();
}

MapWindow::~MapWindow() = default;

void MapWindow::buildControls()
{
    buildChoiceBar();
    connectChoices();
    buildLayerBar();
    buildRecordDock();
}

// The table, its column and the classes.
void MapWindow::buildChoiceBar()
{
    QToolBar* choice = addToolBar(QString::fromUtf8("Výběr"));
    choice->setObjectName("tbVyber");
    choice->setMovable(false);
    choice->addWidget(new QLabel(QString::fromUtf8(" Tabulka: ")));
    m_table = new QComboBox;
    m_table->setObjectName("cboTabulka");
    m_table->setEditable(true);
    m_table->setMinimumContentsLength(18);
    choice->addWidget(m_table);
    choice->addAction(QString::fromUtf8("…"), this, &MapWindow::chooseTable)->setObjectName("cmdTabulka");
    choice->addWidget(new QLabel(QString::fromUtf8("  Sloupec: ")));
    m_column = new QComboBox;
    m_column->setObjectName("cboSloupec");
    m_column->setMinimumContentsLength(11);
    choice->addWidget(m_column);
    choice->addWidget(new QLabel(QString::fromUtf8("  Třídy: ")));
    m_breaks = new QComboBox;
    m_breaks->setObjectName("cboTridy");
    for (const char* t : kBreakTitles)
        m_breaks->addItem(QString::fromUtf8(t));
    choice->addWidget(m_breaks);
    m_levels = new QLineEdit;
    m_levels->setObjectName("txtUrovne");
    m_levels->setPlaceholderText(QString::fromUtf8("hladiny, např. 1;2;5"));
    m_levels->setMaximumWidth(160);
    choice->addWidget(m_levels);
    fillChoices();
}

void MapWindow::connectChoices()
{
    connect(m_table, &QComboBox::activated, this, [this] { setTable(m_table->currentText()); });
    connect(m_table->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_table->currentText() != qs(m_settings.tablePath()))
            setTable(m_table->currentText());
    });
    connect(m_column, &QComboBox::activated, this, [this] { setColumn(m_column->currentText()); });
    connect(m_breaks, &QComboBox::activated, this, [this](int i) {
        m_levels->setEnabled(i == 1);
        if (i == 1 && m_levels->text().trimmed().isEmpty()) {
            m_levels->setFocus();  // the levels are entered first
            return;
        }
        setLevels(i == 0 ? QString() : i == 2 ? qs(kLimitsLevelsText) : m_levels->text());
    });
    connect(m_levels, &QLineEdit::editingFinished, this, [this] {
        if (m_breaks->currentIndex() == 1)
            setLevels(m_levels->text());
    });
}

// The layers switched on and off, the background and the view's actions.
void MapWindow::buildLayerBar()
{
    addToolBarBreak();
    QToolBar* view = addToolBar(QString::fromUtf8("Vrstvy"));
    view->setObjectName("tbVrstvy");
    view->setMovable(false);
    for (std::size_t i = 0; i < kMapLayerCount; ++i) {
        QAction* a = view->addAction(QString::fromUtf8(kLayerTitles[i]));
        a->setObjectName(QString("chkVrstva_") + qs(kMapLayerNames[i]));
        a->setCheckable(true);
        a->setChecked(m_settings.layerShown(static_cast<MapLayer>(i)));
        connect(a, &QAction::toggled, this, [this, i](bool on) { setLayerShown(static_cast<MapLayer>(i), on); });
        m_layerActions[i] = a;
    }
    view->addSeparator();
    view->addAction(QString::fromUtf8("Podklad…"), this, &MapWindow::chooseBackground)->setObjectName("cmdPodklad");
    view->addAction(QString::fromUtf8("Celá studie"), m_canvas, &MapCanvas::fitToStudy)->setObjectName("cmdCelaStudie");
    view->addAction(QString::fromUtf8("Přiblížit"), this, [this] { m_canvas->zoomBy(1.5); })
        ->setObjectName("cmdPriblizit");
    view->addAction(QString::fromUtf8("Oddálit"), this, [this] { m_canvas->zoomBy(1 / 1.5); })
        ->setObjectName("cmdOddalit");
    view->addAction(QString::fromUtf8("Export…"), this, &MapWindow::exportDialog)->setObjectName("cmdExport");
}

// The clicked point's record beside the map, the cursor's coordinates below it.
void MapWindow::buildRecordDock()
{
    auto* dock = new QDockWidget(QString::fromUtf8("Záznam bodu"), this);
    dock->setObjectName("dockZaznam");
    m_row = new QTableWidget(0, 2, dock);
    m_row->setObjectName("lvwZaznam");
    m_row->setHorizontalHeaderLabels({QString::fromUtf8("Pole"), QString::fromUtf8("Hodnota")});
    m_row->verticalHeader()->hide();
    m_row->horizontalHeader()->setStretchLastSection(true);
    m_row->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_row->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dock->setWidget(m_row);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    resizeDocks({dock}, {260}, Qt::Horizontal);

    m_readingLabel = new QLabel(QString::fromUtf8("Načítám podklad mapy…"));
    m_readingLabel->setObjectName("lblNacitaniPodkladu");
    m_stopReading = new QPushButton(QString::fromUtf8("Přerušit"));
    m_stopReading->setObjectName("cmdPrerusitPodklad");
    m_stopReading->setToolTip(QString::fromUtf8("Přestat načítat podklad mapy (Esc)"));
    connect(m_stopReading, &QPushButton::clicked, this, &MapWindow::cancelBackground);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &MapWindow::cancelBackground);
    statusBar()->addPermanentWidget(m_readingLabel);
    statusBar()->addPermanentWidget(m_stopReading);
    showReading(false);
    m_cursor = new QLabel;
    m_cursor->setObjectName("lblSouradnice");
    statusBar()->addPermanentWidget(m_cursor);
}

// The result tables of the study's computations that exist, every other table the project
// names that exists (the exports' inputs), and the one chosen.
void MapWindow::fillChoices()
{
    m_table->clear();
    auto add = [this](const std::string& path, const std::string& role) {
        for (int i = 0; i < m_table->count(); ++i)
            if (samePath(ss(m_table->itemText(i)), path))
                return;
        m_table->addItem(qs(path));
        if (!role.empty())
            m_table->setItemData(m_table->count() - 1, qs(role), Qt::ToolTipRole);
    };
    for (const NamedTable& t : studyResultTables(m_project))
        if (!t.path.empty() && isRegularFile(t.path))
            add(t.path, t.role);
    for (const ProjectValue& v : projectValues(m_project.path())) {
        const std::string& path = v.value;
        const bool dbf = path.size() > 4 && equalsIgnoreCase(std::string_view(path).substr(path.size() - 4), ".dbf");
        if (dbf && isRegularFile(path))
            add(path, {});
    }
    if (!m_settings.table.empty() && m_table->findText(qs(m_settings.table)) < 0)
        m_table->addItem(qs(m_settings.table));
    m_table->setCurrentText(qs(m_settings.tablePath()));
    showClasses(m_canvas->model() ? m_canvas->model()->column : std::string());
}

// The classes chosen; the limit values offered only for a column of concentrations (or of
// shares of the limit), not for hours, coordinates or heights.
void MapWindow::showClasses(const std::string& column)
{
    auto* items = qobject_cast<QStandardItemModel*>(m_breaks->model());
    if (QStandardItem* limits = items ? items->item(2) : nullptr) {
        const bool offered = column.empty() || limitsApply(column);
        limits->setEnabled(offered);
        limits->setToolTip(offered ? QString()
                                   : QString::fromUtf8("Limitní hodnoty jsou koncentrace, sloupec %1 koncentrace "
                                                       "neobsahuje.")
                                         .arg(qs(column)));
    }
    BreakMode mode = m_settings.breakMode();
    m_breaks->setCurrentIndex(mode == BreakMode::EqualSteps ? 0 : mode == BreakMode::Levels ? 1 : 2);
    m_levels->setEnabled(mode == BreakMode::Levels);
    if (mode == BreakMode::Levels)
        m_levels->setText(qs(m_settings.levels));
}

bool MapWindow::reload()
{
    const std::string table = m_settings.tablePath();
    if (table.empty() || !fileExists(table)) {
        // A study not yet computed: said inside the window, not by a message box.
        const bool chosen = !m_settings.table.empty();
        QString hint = chosen ? QString::fromUtf8("Tabulka výsledků %1 zatím neexistuje. Spusťte výpočet nebo zvolte "
                                                  "jinou tabulku v poli Tabulka.")
                                    .arg(qs(table))
                              : QString::fromUtf8("Studie zatím nemá výsledky: spusťte výpočet koncentrací (menu "
                                                  "Výpočet).");
        if (!chosen && m_table->count() > 0)
            hint += QString::fromUtf8(" Jiné tabulky výsledků studie lze zvolit v poli Tabulka.");
        m_canvas->setHint(hint);
        m_column->clear();
        statusBar()->clearMessage();
        return false;
    }
    std::shared_ptr<MapModel> model;
    {
        WaitCursor wait;
        const bool limits = m_settings.breakMode() == BreakMode::Limits;
        if (limits && !m_settings.column.empty() && !limitsApply(m_settings.column))
            m_settings.levels.clear();
        MapSettings withoutBackground = m_settings;
        withoutBackground.background.clear();  // taken over or read below
        Outcome<MapModel> built = buildMapModel(withoutBackground, m_reporter);
        if (!built) {
            built.problem().report(m_reporter);
            statusBar()->clearMessage();
            return false;
        }
        if (m_settings.breakMode() == BreakMode::Limits && !limitsApply(built->column)) {
            m_settings.levels.clear();  // the limits do not divide hours or metres: equal steps
            return reload();
        }
        model = std::make_shared<MapModel>(std::move(*built));
        takeBackground(*model);
    }
    // A layer that cannot be built is said once, not again at every change of the column.
    // The background's own are said when it is read.
    if (model->warnings != m_warnings)
        for (const std::string& w : model->warnings)
            if (!isBackgroundWarning(w))
                m_reporter.message(Severity::Warning, kCaptionWarning, w);
    m_warnings = model->warnings;
    m_column->clear();
    for (const Attribute& a : model->rows.attributes)
        if (a.kind != AttributeKind::Text)
            m_column->addItem(qs(a.name));
    m_column->setCurrentText(qs(model->column));
    showClasses(model->column);
    m_row->setRowCount(0);
    m_canvas->setModel(model);
    statusBar()->showMessage(qs(model->title()));
    storeSettings();
    return true;
}

// The background of the map shown is kept while its source, the study's system and extent
// stay: a service is not asked again (nor its failure waited for) at every change of the column.
// A new one is read off the GUI thread and laid under the map when it comes.
void MapWindow::takeBackground(MapModel& m)
{
    const MapSettings& s = m_settings;
    const std::string source = s.background + '\n' + s.basemapCacheFolder() + '\n' + s.basemapCredit + '\n' +
        s.coordinateSystem + '\n' + (s.layerShown(MapLayer::Background) ? "1" : "0");
    const MapModel* shown = m_canvas->model();
    if (shown && source == m_backgroundSource && sameBox(shown->box, m.box)) {
        m.background = shown->background;
        m.backgroundCredit = shown->backgroundCredit;
        for (const std::string& w : shown->warnings)
            if (isBackgroundWarning(w))
                m.warnings.push_back(w);
        return;
    }
    if (s.background != m_backgroundSource.substr(0, m_backgroundSource.find('\n')))
        m_saidBackground.clear();  // another source: its troubles are said anew
    m_backgroundSource = source;
    m_backgroundGivenUp = false;
    m_reads.cancel();
    showReading(false);
    if (trim(s.background).empty() || (isBasemapService(s.background) && !s.layerShown(MapLayer::Background)))
        return;
    readBackground(m.box, std::nullopt);
}

void MapWindow::readBackground(const StudyBox& box, std::optional<StudyBox> shown)
{
    if (isBasemapService(m_settings.background))
        m_reporter.status(0, "Načítám podklad mapy ze služby " + trim(m_settings.background));
    m_reads.start(m_settings, box, shown, m_canvas->size());
    showReading(true);
}

// The background read is laid under the map shown, if it is still the study it was read for.
void MapWindow::backgroundRead(MapModel&& part)
{
    showReading(false);
    const MapModel* shown = m_canvas->model();
    if (!shown || !sameBox(shown->box, part.box))
        return;
    auto m = std::make_shared<MapModel>(*shown);
    m->background = std::move(part.background);
    m->backgroundCredit = part.backgroundCredit;
    std::erase_if(m->warnings, isBackgroundWarning);
    for (const std::string& w : part.warnings) {
        m->warnings.push_back(w);
        if (m_saidBackground.insert(w).second)
            m_reporter.message(Severity::Warning, kCaptionWarning, w);
    }
    m_warnings = m->warnings;
    m_canvas->replaceModel(m);
}

void MapWindow::cancelBackground()
{
    if (!m_reads.cancel())
        return;
    m_backgroundGivenUp = true;
    showReading(false);
    statusBar()->showMessage(QString::fromUtf8("Načítání podkladu mapy bylo přerušeno."));
}

void MapWindow::showReading(bool on)
{
    m_readingLabel->setVisible(on);
    m_stopReading->setVisible(on);
}

// A view zoomed in far past the background's cells, or moved out of what was read, gets the
// background read again for itself; one that failed or was given up is not asked again until
// it is chosen again or switched on.
void MapWindow::viewMoved()
{
    const MapModel* m = m_canvas->model();
    if (!m || m_reads.reading() || m_backgroundGivenUp || trim(m_settings.background).empty() ||
        !m_settings.layerShown(MapLayer::Background))
        return;
    if (m->background.empty() && std::any_of(m->warnings.begin(), m->warnings.end(), isBackgroundWarning))
        return;
    const StudyBox view = m_canvas->view().visibleBox();
    const StudyBox& read = m->background.box;
    const bool covered = !m->background.empty() && view.xmin >= read.xmin && view.xmax <= read.xmax &&
        view.ymin >= read.ymin && view.ymax <= read.ymax;
    const double readFineness = m->background.empty() ? 0 : m->background.image.width() / read.width();
    if (covered && m_canvas->view().pixelsPerMetre() <= kFinerView * readFineness)
        return;
    readBackground(m->box, view);
}

void MapWindow::storeSettings()
{
    saveSettings(m_settings, m_project, m_reporter);
}

void MapWindow::setTable(const QString& path)
{
    MapSettings before = m_settings;
    m_settings.table = ss(path.trimmed());
    m_settings.column.clear();  // the new table's own default
    if (!reload())
        m_settings = before;
    m_table->setCurrentText(qs(m_settings.tablePath()));
}

void MapWindow::setColumn(const QString& name)
{
    MapSettings before = m_settings;
    m_settings.column = ss(name);
    if (!reload())
        m_settings = before;
}

void MapWindow::setLevels(const QString& text)
{
    MapSettings before = m_settings;
    m_settings.levels = ss(text.trimmed());
    if (!reload())
        m_settings = before;
    fillChoices();
}

void MapWindow::setLayerShown(MapLayer layer, bool shown)
{
    m_settings.showLayer(layer, shown);
    QAction* a = m_layerActions[static_cast<std::size_t>(layer)];
    if (a && a->isChecked() != shown) {
        QSignalBlocker block(a);
        a->setChecked(shown);
    }
    m_canvas->setLayers(layerSet(m_settings));
    // A service is asked only for a layer shown: switched on, it is read now.
    const MapModel* m = m_canvas->model();
    if (layer == MapLayer::Background && shown && m && m->background.empty() && !m_settings.background.empty())
        reload();
    else
        storeSettings();
}

void MapWindow::showRow(std::optional<std::size_t> point)
{
    const MapModel* m = m_canvas->model();
    m_row->setRowCount(0);
    if (!m || !point)
        return;
    auto row = m->rowOf(*point);
    m_row->setRowCount(static_cast<int>(row.size()));
    for (std::size_t i = 0; i < row.size(); ++i) {
        m_row->setItem(static_cast<int>(i), 0, new QTableWidgetItem(qs(row[i].first)));
        m_row->setItem(static_cast<int>(i), 1, new QTableWidgetItem(qs(row[i].second)));
    }
}

void MapWindow::showCursor(double x, double y)
{
    m_cursor->setText(qs(cformat("X: %.1f  Y: %.1f", x, y)));
}

void MapWindow::chooseTable()
{
    QString path = QFileDialog::getOpenFileName(this, QString::fromUtf8("Tabulka výsledků"), {},
                                                QString::fromUtf8("Soubory DBF (*.dbf *.DBF)"));
    if (!path.isEmpty())
        setTable(path);
}

void MapWindow::chooseBackground()
{
    BasemapChoice c{qs(m_settings.background), qs(m_settings.basemapCache), qs(m_settings.basemapCredit)};
    if (chooseBasemap(this, c))
        setBackground(c.source, c.cacheFolder, c.credit);
}

void MapWindow::setBackground(const QString& source, const QString& cacheFolder, const QString& credit)
{
    const std::string s = ss(source.trimmed());
    // A file is kept relative when it lies in the study's folder, so the study can be moved.
    m_settings.background = s.empty() || isBasemapService(s) ? s : pathForProject(s, m_project.path());
    m_settings.basemapCache = ss(cacheFolder.trimmed());
    m_settings.basemapCredit = ss(credit.trimmed());
    m_settings.showLayer(MapLayer::Background, !s.empty());
    QSignalBlocker block(m_layerActions[static_cast<std::size_t>(MapLayer::Background)]);
    m_layerActions[static_cast<std::size_t>(MapLayer::Background)]->setChecked(!s.empty());
    m_canvas->setLayers(layerSet(m_settings));
    reload();
}

bool MapWindow::exportView(const QString& path, QSize size, int dpi)
{
    std::optional<MapFormat> format = mapFormatOf(ss(path));
    return writeExport(path, MapPicture{format.value_or(MapFormat::Png), size, dpi});
}

bool MapWindow::exportPage(const QString& path, MapPage page, bool landscape, int dpi)
{
    std::optional<MapFormat> format = mapFormatOf(ss(path));
    return writeExport(path, pagePicture(format.value_or(MapFormat::Png), page, landscape, dpi));
}

bool MapWindow::writeExport(const QString& path, const MapPicture& pic)
{
    const MapModel* m = m_canvas->model();
    if (!m || !mapFormatOf(ss(path))) {
        m_reporter.error(unknownMapFormatText(ss(path)));
        return false;
    }
    if (!RunContext{m_reporter}.confirmOverwrite(ss(path)))
        return false;
    WaitCursor wait;
    if (std::optional<Problem> p = writeMapPicture(ss(path), *m, m_canvas->frameView(), m_canvas->layers(), pic)) {
        p->report(m_reporter);
        return false;
    }
    statusBar()->showMessage(qs("Mapa zapsána do souboru " + ss(path)));
    return true;
}

namespace {

// The fields of the export dialog.
struct ExportFields {
    QLineEdit* path;
    QComboBox* page;
    QCheckBox* landscape;
    QSpinBox *width, *height, *dpi;
};

ExportFields exportFields(QDialog& d, QFormLayout* form, const QString& file, QSize canvas)
{
    ExportFields f{new QLineEdit(&d), new QComboBox(&d), new QCheckBox(QString::fromUtf8("na šířku"), &d),
                   new QSpinBox(&d),  new QSpinBox(&d),  new QSpinBox(&d)};
    f.path->setObjectName("txtSoubor");
    f.path->setText(file);
    f.page->setObjectName("cboStranka");
    f.page->addItems({QString::fromUtf8("podle šířky a výšky"), "A4", "A3"});
    f.landscape->setObjectName("chkNaSirku");
    f.width->setRange(100, 20000);
    f.height->setRange(100, 20000);
    f.dpi->setRange(kMinMapDpi, kMaxMapDpi);
    f.width->setValue(canvas.width() * 2);
    f.height->setValue(canvas.height() * 2);
    f.dpi->setValue(192);
    auto* browse = new QPushButton(QString::fromUtf8("…"), &d);
    QObject::connect(browse, &QPushButton::clicked, &d, [&d, path = f.path] {
        QString p = QFileDialog::getSaveFileName(&d, QString::fromUtf8("Export mapy"), path->text(),
                                                 QString::fromUtf8("PNG (*.png);;SVG (*.svg);;PDF (*.pdf)"), nullptr,
                                                 QFileDialog::DontConfirmOverwrite);
        if (!p.isEmpty())
            path->setText(p);
    });
    // A page sets the size itself.
    auto pageChosen = [f] {
        const bool page = f.page->currentIndex() > 0;
        f.width->setEnabled(!page);
        f.height->setEnabled(!page);
        f.landscape->setEnabled(page);
    };
    QObject::connect(f.page, &QComboBox::currentIndexChanged, &d, pageChosen);
    pageChosen();
    auto* row = new QHBoxLayout;
    row->addWidget(f.path);
    row->addWidget(browse);
    form->addRow(QString::fromUtf8("Soubor (PNG, SVG, PDF):"), row);
    form->addRow(QString::fromUtf8("Stránka:"), f.page);
    form->addRow(QString(), f.landscape);
    form->addRow(QString::fromUtf8("Šířka (pixely):"), f.width);
    form->addRow(QString::fromUtf8("Výška (pixely):"), f.height);
    form->addRow(QString::fromUtf8("Rozlišení (DPI):"), f.dpi);
    return f;
}

}  // namespace

void MapWindow::exportDialog()
{
    QDialog d(this);
    setDialogFrame(&d, "frmExportMapy", QString::fromUtf8("Export mapy"));
    auto* form = new QFormLayout(&d);
    const ExportFields f = exportFields(d, form, qs(derivedName(m_settings.tablePath(), "png")), m_canvas->size());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted)
        return;
    if (f.page->currentIndex() > 0)
        exportPage(f.path->text(), f.page->currentIndex() == 1 ? MapPage::A4 : MapPage::A3, f.landscape->isChecked(),
                   f.dpi->value());
    else
        exportView(f.path->text(), QSize(f.width->value(), f.height->value()), f.dpi->value());
}

}  // namespace ovd::mainui
