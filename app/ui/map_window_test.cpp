// The result map window under the offscreen platform on the example study with its annual
// results: layers switched, zoom, a click on a point shows its table row, choices remembered.
#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStatusBar>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "app/tool_registry.h"
#include "app/ui/map_canvas.h"
#include "app/ui/map_window.h"
#include "app/ui/screenshots/grey_raster.h"
#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/reporter_wrapper.h"
#include "common/text.h"
#include "gis/basemap_source.h"
#include "gis/gdal_services.h"
#include "gis/gdal_session.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"
#include "ui_common/qt_text.h"

using namespace ovd;
using namespace ovd::mainui;

namespace {

// Runs commands of the tool registry on the project, as ovardix-cli would.
bool runTools(Project& project, std::initializer_list<const char*> commands)
{
    NullReporter reporter(Answer::Yes, stderr);
    Profile profile(project.path() + ".profile.ini");
    CollectingSink sink;
    for (const char* command : commands) {
        ToolCall call{&project, profile, {}, RunContext{reporter, true}, sink};
        if (findTool(command)->run(call) != ToolStatus::Done)
            return false;
    }
    return true;
}

// Writes each {section, key, value} into the project; false at the first that fails.
bool writeKeys(Project& project, std::initializer_list<std::array<const char*, 3>> keys)
{
    NullReporter quiet;
    for (const auto& [section, key, value] : keys)
        if (!project.writeString(section, key, value, quiet))
            return false;
    return true;
}

// Each number of the clicked point's record shown with the field's decimals, a decimal comma
// and its unit.
void expectNumbersWithUnits(const QTableWidget& row, const DbfTable& table, std::size_t record)
{
    auto shown = [&](const char* field, const char* unit) {
        std::string text = trim(table.fieldText(record, *table.findField(field)));
        std::replace(text.begin(), text.end(), '.', ',');
        return QString::fromStdString(*unit ? text + " " + unit : text);
    };
    auto cell = [&](const char* field) { return row.item(static_cast<int>(*table.findField(field)), 1)->text(); };
    QCOMPARE(cell("CONC_AVG"), shown("CONC_AVG", "µg/m³"));
    QVERIFY(cell("CONC_AVG").contains(QRegularExpression("^-?[0-9]+,[0-9]{6} µg/m³$")));
    QCOMPARE(cell("X_COORD"), shown("X_COORD", "m"));
    QCOMPARE(cell("ID"), shown("ID", ""));
    const QString hours = qs(table.fields().back().name).trimmed();
    if (hours.startsWith("T1_"))
        QCOMPARE(cell(ss(hours).c_str()), shown(ss(hours).c_str(), "h/rok"));
}

// The highlight ring's colour right of the point at `pixel`: the darkest of the three pixels
// across its width (its smoothed edges blend with the white halo).
QColor ringColour(const QImage& grabbed, QPoint pixel)
{
    const QPointF ring = (QPointF(pixel) + QPointF(kHighlightRadius, 0)) * grabbed.devicePixelRatio();
    QColor drawn = Qt::white;
    for (int dx = -1; dx <= 1; ++dx) {
        const QColor px = grabbed.pixelColor(ring.toPoint() + QPoint(dx, 0));
        if (px.green() < drawn.green())
            drawn = px;
    }
    return drawn;
}

// A place on the canvas's middle line with no point within 20 pixels.
std::optional<QPoint> spotWithoutPoints(const MapCanvas& c)
{
    for (int x = int(c.frame().left()) + 2; x < c.frame().right(); x += 10) {
        const QPointF at = c.view().toStudy(QPointF(x, c.frame().center().y()));
        if (!c.model()->pointNear(at.x(), at.y(), 20 / c.view().pixelsPerMetre()))
            return QPoint(x, int(c.frame().center().y()));
    }
    return std::nullopt;
}

}  // namespace

class MapWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initGdal();
        std::filesystem::copy(OVD_SOURCE_DIR "/examples/study", m_dir.root(), std::filesystem::copy_options::recursive);
        QVERIFY(QDir::setCurrent(QString::fromStdString(m_dir.root())));
        m_project = Project::open(m_dir.path("study.ovd"));
        QVERIFY(writeKeys(m_project, {{"Global", "VstThetaBin", "theta.bin"},
                                      {"Global", "VstDeltaBin", "delta.bin"},
                                      {"Global", "VstZmaxBin", "zmax.bin"},
                                      {"Koeficienty", "VzdalenostBodu", "50"},
                                      {"VypocetRocni", "KrokVypoctu", "2"}}));
        QVERIFY(runTools(m_project, {"terrain", "run"}));
    }

    void opensOnTheAnnualTable()
    {
        MapWindow w(m_project, {}, nullptr, &m_messages);
        w.show();
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Mapa výsledků"));
        QTRY_VERIFY(w.canvas()->pictureReady());
        const MapModel* m = w.canvas()->model();
        QVERIFY(m);
        QCOMPARE(int(m->points.size()), 1681);
        QCOMPARE(QString::fromStdString(m->column), QString("CONC_AVG"));
        QVERIFY(!m->hillshade.empty());
        QVERIFY(!m->sources.empty());
        QVERIFY(m->windRose.has_value());
        QVERIFY(!m->isolines.segments.empty());
        QVERIFY(m->systemText.rfind("EPSG:5514", 0) == 0);
        QVERIFY(m_messages.messages.empty());  // every layer of the study could be built
    }

    // A study not yet computed says so inside the window, with no message box; the table
    // list offers every result table the study names.
    void aStudyWithoutResultsShowsAHint()
    {
        TempDir other;
        const std::string path = other.path("new.ovd");
        writeFileAtomically(path, "[VypocetRocni]\nVystDbf=" + other.path("rocni.dbf") + "\n");
        Project empty = Project::open(path);
        RecordingReporter messages;
        MapWindow w(empty, {}, nullptr, &messages);
        w.show();
        QVERIFY(messages.messages.empty());
        QVERIFY(!w.canvas()->model());
        QCOMPARE(w.canvas()->hint(),
                 QString::fromUtf8("Studie zatím nemá výsledky: spusťte výpočet koncentrací (menu Výpočet)."));
        // A table the user chose that is gone is named.
        w.setTable(QString::fromStdString(other.path("jina.dbf")));
        QVERIFY(messages.messages.empty());
        QVERIFY(w.canvas()->hint().startsWith(QString::fromStdString("Tabulka výsledků " + other.path("jina.dbf") +
                                                                     " zatím neexistuje.")));

        RecordingReporter r;
        QVERIFY(m_project.writeString("DbfExport", "VstDbf", "rocni.dbf", r));
        std::filesystem::copy_file(m_dir.path("rocni.dbf"), m_dir.path("kopie.dbf"),
                                   std::filesystem::copy_options::overwrite_existing);
        QVERIFY(m_project.writeString("Izolinie", "VstDbf", "kopie.dbf", r));
        MapWindow study(m_project, {}, nullptr, &messages);
        auto* tables = study.findChild<QComboBox*>("cboTabulka");
        QVERIFY(tables);
        QVERIFY(tables->findText("rocni.dbf") >= 0);
        QVERIFY(tables->findText("kopie.dbf") >= 0);
        QVERIFY(study.canvas()->hint().isEmpty());
        QVERIFY(m_project.writeString("Izolinie", "VstDbf", "rocni.dbf", r));
    }

    // Every result table of the study's computations that exists, the names derived by the
    // tools included; one that does not exist is not offered.
    void offersEveryResultTableOfTheStudy()
    {
        const std::string path = m_dir.path("tabulky.ovd");
        std::filesystem::copy_file(m_project.path(), path, std::filesystem::copy_options::overwrite_existing);
        Project p = Project::open(path);
        QVERIFY(writeKeys(p, {{"Hodnoceni", "VstDbf", "rocni.dbf"},  // writes rocni_hodnoceni.dbf
                              {"Varianty", "VstVarianta", "rocni.dbf"},
                              {"Varianty", "VystDbf", "porovnani.dbf"},
                              {"ZmenaEmisi", "VystDbf", "zmena.dbf"},
                              {"VypocetRocni", "PodilySkupinZdroju", "1"},
                              {"VypocetRocni", "VystDbfPodily", "podily.dbf"}}));
        RecordingReporter r;
        for (const char* copy : {"rocni_hodnoceni.dbf", "porovnani.dbf", "podily.dbf"})
            std::filesystem::copy_file(m_dir.path("rocni.dbf"), m_dir.path(copy),
                                       std::filesystem::copy_options::overwrite_existing);
        MapWindow w(p, {}, nullptr, &r);
        auto* tables = w.findChild<QComboBox*>("cboTabulka");
        QStringList offered;
        for (int i = 0; i < tables->count(); ++i)
            offered << tables->itemText(i);
        QCOMPARE(offered.mid(0, 4), (QStringList{"rocni.dbf", "podily.dbf", "rocni_hodnoceni.dbf", "porovnani.dbf"}));
        QVERIFY(!offered.contains("zmena.dbf"));
        QCOMPARE(tables->itemData(2, Qt::ToolTipRole).toString(), QString::fromUtf8("výstup hodnocení imisní zátěže"));
    }

    void switchesLayersAndRemembersThem()
    {
        {
            MapWindow w(m_project, {}, nullptr, &m_messages);
            w.show();
            auto* bands = w.findChild<QAction*>("chkVrstva_izopasma");
            QVERIFY(bands && bands->isChecked());
            bands->trigger();
            QVERIFY(!w.canvas()->layers()[static_cast<std::size_t>(MapLayer::Isobands)]);
            QTRY_VERIFY(w.canvas()->pictureReady());
            w.findChild<QAction*>("chkVrstva_zdroje")->trigger();
            w.setColumn("CM_MAX");
            w.setLevels("1;2;5");
            QVERIFY(w.canvas()->model()->breaks.levels == (std::vector<double>{1, 2, 5}));
        }
        Project reread = Project::open(m_project.path());
        QCOMPARE(QString::fromStdString(reread.readString("Mapa", "Vrstvy")), QString("teren;izolinie;body;ruzice"));
        QCOMPARE(QString::fromStdString(reread.readString("Mapa", "Sloupec")), QString("CM_MAX"));
        QCOMPARE(QString::fromStdString(reread.readString("Mapa", "Urovne")), QString("1;2;5"));
        RecordingReporter messages;
        MapWindow again(m_project, {}, nullptr, &messages);
        QVERIFY(!again.findChild<QAction*>("chkVrstva_zdroje")->isChecked());
        QCOMPARE(again.findChild<QComboBox*>("cboSloupec")->currentText(), QString("CM_MAX"));
        // A level list that is not numbers is refused and the map keeps its classes.
        again.setLevels("1;x");
        QVERIFY(messages.hasMessage("Hladiny mapy \"1;x\" nejsou čísla oddělená středníkem!"));
        QCOMPARE(QString::fromStdString(again.settings().levels), QString("1;2;5"));
        QVERIFY(again.canvas()->model()->breaks.levels == (std::vector<double>{1, 2, 5}));
        QCOMPARE(again.findChild<QLineEdit*>("txtUrovne")->text(), QString("1;2;5"));
        QCOMPARE(again.findChild<QComboBox*>("cboTridy")->currentIndex(), 1);
        again.setColumn("CONC_AVG");
        again.setLevels("");
        QCOMPARE(again.findChild<QComboBox*>("cboTridy")->currentIndex(), 0);  // equal steps
        again.setLayerShown(MapLayer::Sources, true);
        again.setLayerShown(MapLayer::Isobands, true);
    }

    // The limit values divide concentrations, not hours above a limit nor coordinates: there
    // they are not offered, and a map divided by them goes back to equal steps.
    void offersTheLimitsOnlyForConcentrations()
    {
        RecordingReporter messages;
        MapWindow w(m_project, {}, nullptr, &messages);
        auto* classes = w.findChild<QComboBox*>("cboTridy");
        auto limitsOffered = [&] {
            return qobject_cast<QStandardItemModel*>(classes->model())->item(2)->isEnabled();
        };
        w.setColumn("CONC_AVG");
        w.setLevels("limity");
        QCOMPARE(classes->currentIndex(), 2);
        QVERIFY(limitsOffered());
        QVERIFY(w.canvas()->model()->breaks.levels == (std::vector<double>{1}));
        w.setColumn("T1_1_000000");
        QCOMPARE(QString::fromStdString(w.canvas()->model()->column), QString("T1_1_000000"));
        QVERIFY(!limitsOffered());
        QCOMPARE(classes->currentIndex(), 0);
        QCOMPARE(QString::fromStdString(w.settings().levels), QString());
        w.setLevels("limity");
        QCOMPARE(classes->currentIndex(), 0);
        QVERIFY(w.canvas()->model()->breaks.levels != (std::vector<double>{1}));
        w.setColumn("Y_COORD");
        QVERIFY(!limitsOffered());
        w.setColumn("CM_MAX");
        QVERIFY(limitsOffered());
        QVERIFY(messages.messages.empty());
        w.setColumn("CONC_AVG");
    }

    // A service that does not answer: said once, the map drawn without it, the choice kept.
    void takesAServiceAsItsBackground()
    {
        RecordingReporter messages;
        {
            MapWindow w(m_project, {}, nullptr, &messages);
            const QString service = "http://127.0.0.1:1/{z}/{x}/{y}.png";
            w.setBackground(service, "", QString::fromUtf8("© podklad"));
            QVERIFY(w.findChild<QAction*>("chkVrstva_podklad")->isChecked());
            QVERIFY(w.canvas()->model());
            QTRY_VERIFY(!w.backgroundReading());
            QVERIFY(w.canvas()->model()->background.empty());
            QCOMPARE(int(messages.messages.size()), 1);
            QVERIFY(messages.messages[0].text.find("Podklad: Službu " + ss(service) +
                                                   " nelze použít jako podklad mapy") == 0);
            // Another column keeps the background as it was: the service is not asked again.
            auto asked = [&] {
                return std::count_if(messages.statusLines.begin(), messages.statusLines.end(),
                                     [](const auto& l) { return l.second.rfind("Načítám podklad mapy", 0) == 0; });
            };
            QCOMPARE(int(asked()), 1);
            w.setColumn("CM_MAX");
            QCOMPARE(int(asked()), 1);
            QCOMPARE(int(w.canvas()->model()->warnings.size()), 1);
            // Switched off and on, the service is asked again but not said again.
            w.setLayerShown(MapLayer::Background, false);
            w.setLayerShown(MapLayer::Background, true);
            QTRY_VERIFY(!w.backgroundReading());
            QCOMPARE(int(messages.messages.size()), 1);
            Project reread = Project::open(m_project.path());
            QCOMPARE(QString::fromStdString(reread.readString("Mapa", "VstRastr")), service);
            QCOMPARE(QString::fromStdString(reread.readString("Mapa", "PodkladPopis")), QString::fromUtf8("© podklad"));
            w.setBackground("", "", "");
            QVERIFY(!w.findChild<QAction*>("chkVrstva_podklad")->isChecked());
        }
        Project reread = Project::open(m_project.path());
        QCOMPARE(QString::fromStdString(reread.readString("Mapa", "VstRastr")), QString());
    }

    // A service that takes connections and never answers: the window does not wait for it,
    // Esc gives the reading up, and what the abandoned read finds later is not shown.
    void aSilentServiceDoesNotStopTheWindow()
    {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(listener, 16) == 0);
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0);
        const QString service = QString("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(ntohs(address.sin_port));

        RecordingReporter messages;
        MapWindow w(m_project, {}, nullptr, &messages);
        w.show();
        QElapsedTimer clock;
        clock.start();
        w.setBackground(service, "", "");
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(w.backgroundReading());
        QVERIFY(w.findChild<QPushButton*>("cmdPrerusitPodklad")->isVisibleTo(&w));
        QTRY_VERIFY(w.canvas()->pictureReady());  // the map is drawn meanwhile
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.backgroundReading());
        QVERIFY(!w.findChild<QPushButton*>("cmdPrerusitPodklad")->isVisibleTo(&w));
        QCOMPARE(w.statusBar()->currentMessage(), QString::fromUtf8("Načítání podkladu mapy bylo přerušeno."));
        QTest::qWait((kBasemapTimeoutSeconds + 1) * 1000);
        QVERIFY2(messages.messages.empty(), messages.messages.empty() ? "" : messages.messages[0].text.c_str());
        QVERIFY(w.canvas()->model()->background.empty());
        w.setBackground("", "", "");
        ::close(listener);
    }

    // Zoomed in far, the background is read again for the view, not at once but when the
    // view has settled; moved out of what was read, likewise.
    void readsTheBackgroundAgainForTheView()
    {
        MapWindow w(m_project, {}, nullptr, &m_messages);
        w.resize(1000, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const StudyBox study = w.canvas()->model()->box;
        const std::string raster = m_dir.path("podklad.tif");
        QVERIFY(writeGreyRaster(raster, study, 200, 0.5, [](int column, int) { return column; }));
        w.setBackground(QString::fromStdString(raster), "", "");
        QTRY_VERIFY(!w.backgroundReading());
        QVERIFY(!w.canvas()->model()->background.empty());
        const double first = w.canvas()->model()->background.box.width();
        QTest::qWait(400);
        QVERIFY(!w.backgroundReading());  // the whole study's view is covered
        w.canvas()->zoomBy(8);
        QVERIFY(!w.backgroundReading());
        QTRY_VERIFY(w.canvas()->model()->background.box.width() < first / 4);
        QTRY_VERIFY(!w.backgroundReading());
        const StudyBox zoomed = w.canvas()->model()->background.box;
        w.canvas()->setFocus();
        for (int i = 0; i < 15; ++i)
            QTest::keyClick(w.canvas(), Qt::Key_Left);
        const StudyBox view = w.canvas()->view().visibleBox();
        QVERIFY(view.xmin < zoomed.xmin);
        QTRY_VERIFY(w.canvas()->model()->background.box.xmin <= view.xmin);
        QVERIFY(m_messages.messages.empty());
        w.setBackground("", "", "");
    }

    void zoomsAndShowsTheRowOfAClickedPoint()
    {
        MapWindow w(m_project, {}, nullptr, &m_messages);
        w.resize(1000, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MapCanvas* c = w.canvas();
        QTRY_VERIFY(c->pictureReady());
        double before = c->view().pixelsPerMetre();
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Plus);
        QTest::keyClick(c, Qt::Key_Plus);
        QVERIFY(c->view().pixelsPerMetre() > before * 1.5);
        QTRY_VERIFY(c->pictureReady());

        // The point nearest the middle of the view, clicked where it is drawn.
        const MapModel* m = c->model();
        QPointF centre(c->width() / 2.0, c->height() / 2.0);
        QPointF at = c->view().toStudy(centre);
        std::optional<std::size_t> target = m->pointNear(at.x(), at.y(), 1e9);
        QVERIFY(target);
        QPoint pixel = c->view().toPixel(m->points[*target].x, m->points[*target].y).toPoint();
        QTest::mouseClick(c, Qt::LeftButton, {}, pixel);
        QTableWidget* row = w.rowTable();
        QTRY_VERIFY(row->rowCount() > 5);

        // The row shown is the table's own record of that point.
        Outcome<DbfTable> table = DbfTable::load(m_dir.path("rocni.dbf"));
        QVERIFY(table.ok());
        std::size_t record = m->rows.points[m->points[*target].row].record - 1;
        QCOMPARE(row->item(0, 0)->text(), QString("ID"));
        QCOMPARE(row->item(0, 1)->text(), QString::fromStdString(trim(table->fieldText(record, 0))));
        std::size_t xField = *table->findField("X_COORD");
        QCOMPARE(parseDouble(table->fieldText(record, xField)).value_or(NAN), m->points[*target].x);
        expectNumbersWithUnits(*row, *table, record);

        // The point is ringed on the map until another click or another column.
        QCOMPARE(c->highlight(), target);
        const QColor drawn = ringColour(c->grab().toImage(), pixel);
        QVERIFY2(std::abs(drawn.red() - kHighlightColour.red()) < 40 && drawn.green() < 60 &&
                     std::abs(drawn.blue() - kHighlightColour.blue()) < 40,
                 qPrintable(drawn.name()));
        c->zoomBy(0.25);  // room around the study
        const std::optional<QPoint> empty = spotWithoutPoints(*c);
        QVERIFY(empty);
        QTest::mouseClick(c, Qt::LeftButton, {}, *empty);
        QVERIFY(!c->highlight());
        QCOMPARE(row->rowCount(), 0);
        c->zoomBy(4);
        QTest::mouseClick(c, Qt::LeftButton, {}, pixel);
        QCOMPARE(c->highlight(), target);
        w.setColumn("CM_MAX");
        QVERIFY(!c->highlight());

        // The cursor's coordinates in the status line.
        QTest::mouseMove(c, pixel + QPoint(3, 0));
        QTRY_VERIFY(w.findChild<QLabel*>("lblSouradnice")->text().startsWith("X: -"));
    }

    void exportsTheView()
    {
        MapWindow w(m_project, {}, nullptr, &m_messages);
        w.show();
        QTRY_VERIFY(w.canvas()->pictureReady());
        QString png = QString::fromStdString(m_dir.path("mapa.png"));
        QVERIFY(w.exportView(png, QSize(900, 600), 192));
        QImage img(png);
        QCOMPARE(img.size(), QSize(900, 600));
        QCOMPARE(qRound(img.dotsPerMeterX() * 0.0254), 192);
        QVERIFY(w.exportView(QString::fromStdString(m_dir.path("mapa.svg")), QSize(900, 600), 96));
        QVERIFY(w.exportView(QString::fromStdString(m_dir.path("mapa.pdf")), QSize(900, 600), 96));
        // A page on its side at 100 DPI, the window's frame in the page's.
        QString page = QString::fromStdString(m_dir.path("stranka.png"));
        QVERIFY(w.exportPage(page, MapPage::A4, true, 100));
        QCOMPARE(QImage(page).size(), QSize(1169, 827));
        const StudyBox shown = w.canvas()->frameView().visibleBox(), framed = w.canvas()->view().visibleBox();
        QVERIFY(shown.width() < framed.width() && shown.xmin > framed.xmin && shown.ymax < framed.ymax);
    }

private:
    TempDir m_dir;
    Project m_project;
    RecordingReporter m_messages;
};

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
