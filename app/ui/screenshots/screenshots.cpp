// ovardix_screenshots FOLDER [PROJECT]: pictures of the main window, of every tool dialog
// and of the small dialogs, as PNG files in FOLDER, for looking at the labels and layout.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <cstdio>
#include <functional>

#include "app/ui/dbf_column_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/map_canvas.h"
#include "app/ui/map_window.h"
#include "app/ui/screenshots/grey_raster.h"
#include "app/ui/tool_dialog.h"
#include "gis/gdal_services.h"
#include "ui_common/dialogs.h"
#include "ui_common/menus.h"

using namespace ovd;
using namespace ovd::mainui;

namespace {

// The whole screen, to see where a window opens and whether it fits.
bool saveScreen(const QString& folder, const QString& name)
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    QString path = folder + "/" + name + ".png";
    bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

bool save(QWidget* w, const QString& folder, const QString& name, bool ownSize = false)
{
    w->show();
    if (!qobject_cast<QMainWindow*>(w) && !ownSize)
        w->adjustSize();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    QString path = folder + "/" + name + ".png";
    bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// Grabs the next modal dialog that opens (the small dialogs only exist inside exec()).
void grabNextDialog(const QString& folder, const QString& name, bool* ok)
{
    QTimer::singleShot(200, [=] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && d->objectName() == name) {
                *ok = save(d, folder, name) && *ok;
                d->reject();
                return;
            }
        std::printf("FAILED no dialog %s\n", qPrintable(name));
        *ok = false;
    });
}

// The map window on the study's results: whole, zoomed with a point's row, and its export.
bool saveMapWindow(MainWindow& window, const QString& folder)
{
    auto* map = new MapWindow(window.project(), window.services(), &window);
    map->resize(1300, 700);
    map->move(20, 20);
    map->show();
    auto drawn = [map] {
        QElapsedTimer t;
        t.start();
        while (!map->canvas()->pictureReady() && t.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    // Levels that separate the example's low values, as a user would choose them.
    map->setLevels("0.02;0.05;0.1;0.5;1");
    drawn();
    bool ok = save(map, folder, "map_window", true);
    MapCanvas* c = map->canvas();
    c->zoomBy(2.5);
    map->setLayerShown(MapLayer::Isobands, false);
    drawn();
    const MapModel* m = c->model();
    QPointF at = c->view().toStudy(QPointF(c->width() / 2.0, c->height() / 2.0));
    if (std::optional<std::size_t> i = m ? m->pointNear(at.x(), at.y(), 1e9) : std::nullopt) {
        QPointF p = c->view().toPixel(m->points[*i].x, m->points[*i].y);
        QMouseEvent press(QEvent::MouseButtonPress, p, c->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, p, c->mapToGlobal(p), Qt::LeftButton, {}, {});
        QApplication::sendEvent(c, &press);
        QApplication::sendEvent(c, &release);
    }
    ok = save(map, folder, "map_window_point", true) && ok;
    ok = saveScreen(folder, "screen_map") && ok;
    map->setLayerShown(MapLayer::Isobands, true);
    grabNextDialog(folder, "frmExportMapy", &ok);
    findAction(map, "cmdExport")->trigger();
    grabNextDialog(folder, "frmPodklad", &ok);
    findAction(map, "cmdPodklad")->trigger();
    map->close();
    return ok;
}

void waitFor(const std::function<bool()>& done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

// A grey raster of small bytes (0 to 10) over the study and a margin around it.
std::string writeGreyBackground(const std::string& path, const StudyBox& box)
{
    const bool written =
        writeGreyRaster(path, box, 64, 0.25, [](int column, int row) { return (column + row) * 10 / 126; });
    return written ? path : std::string();
}

// The map window of a study without results, over a grey background, and while a service
// that never answers is being read.
bool saveMapStates(MainWindow& window, const QString& folder)
{
    bool ok = true;
    {
        QDir().mkpath(folder + "/nova");
        const std::string path = (folder + "/nova/nova.ovd").toStdString();
        QFile f(QString::fromStdString(path));
        const QByteArray text = "[VypocetRocni]\nVystDbf=" + (folder + "/nova/rocni.dbf").toUtf8() + "\n";
        ok = f.open(QIODevice::WriteOnly) && f.write(text) > 0 && ok;
        f.close();
        MapWindow empty(Project::open(path), window.services(), &window);
        empty.resize(1000, 600);
        ok = save(&empty, folder, "map_window_hint", true) && ok;
    }
    auto* map = new MapWindow(window.project(), window.services(), &window);
    map->resize(1300, 700);
    map->move(20, 20);
    map->show();
    const MapModel* m = map->canvas()->model();
    const std::string grey = m ? writeGreyBackground(QDir::current().filePath("podklad_sedy.tif").toStdString(), m->box)
                               : std::string();
    ok = !grey.empty() && ok;
    map->setBackground(QString::fromStdString(grey), "", "");
    waitFor([map] { return !map->backgroundReading() && map->canvas()->pictureReady(); });
    ok = save(map, folder, "map_background_grey", true) && ok;
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(listener, 16) == 0 &&
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        map->setBackground(QString("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(ntohs(address.sin_port)), "", "");
        waitFor([map] { return map->canvas()->pictureReady(); });
        ok = save(map, folder, "map_background_reading", true) && ok;
        map->cancelBackground();
        ok = save(map, folder, "map_background_cancelled", true) && ok;
    }
    ::close(listener);
    map->setBackground("", "", "");
    map->close();
    return ok;
}

// The map window on the assessment of the annual mean: the total against the limit.
bool saveAssessmentMap(MainWindow& window, const QString& folder)
{
    auto* map = new MapWindow(window.project(), window.services(), &window);
    map->resize(1300, 700);
    map->move(20, 20);
    map->show();
    map->setTable("rocni_hodnoceni.dbf");
    map->setColumn("CELKEM");
    map->setLevels("limity");
    bool ok = map->reload();
    QElapsedTimer t;
    t.start();
    while (!map->canvas()->pictureReady() && t.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ok = save(map, folder, "map_assessment", true) && ok;
    map->close();
    return ok;
}

// The menus of the main window, each opened.
bool saveMenus(MainWindow& window, const QString& folder)
{
    bool ok = true;
    int n = 0;
    for (QAction* top : window.menuBar()->actions()) {
        QMenu* menu = top->menu();
        menu->popup(window.mapToGlobal(QPoint(20 + 90 * n, 20)));
        ok = save(menu, folder, QString("menu_%1").arg(++n)) && ok;
        menu->hide();
    }
    return ok;
}

// Every tool's dialog as it opens (the concentrations' with its new-substance dialog).
bool saveDialogs(MainWindow& window, const Profile& profile, const QString& folder)
{
    bool ok = true;
    for (const ToolForm& form : toolForms()) {
        ToolDialog d(form, window.project(), profile, window.services(), &window);
        const QString id = QString::fromUtf8(form.id.data(), static_cast<qsizetype>(form.id.size()));
        ok = save(&d, folder, "dialog_" + id, true) && ok;
        const QSize size = d.frameGeometry().size();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        std::printf("%s %d x %d%s\n", qPrintable(id), size.width(), size.height(),
                    screen.contains(d.frameGeometry()) ? "" : "  DOES NOT FIT THE SCREEN");
        if (form.id == "concentrations" || form.id == "isolines")
            ok = saveScreen(folder, "screen_" + id) && ok;
        if (form.id == "concentrations") {
            // The pollutant "+" button opens the dialog of a new entry.
            for (auto* b : d.findChildren<QAbstractButton*>())
                if (b->text() == "+") {
                    grabNextDialog(folder, "newSubstance", &ok);
                    b->click();
                }
        }
    }
    return ok;
}

// The list views of the checks and of the assessment, filled by a run on the study.
bool saveCheckRuns(MainWindow& window, const Profile& profile, const QString& folder)
{
    bool ok = true;
    for (const char* id : {"check-points", "check-sources", "check-terrain"}) {
        ToolDialog d(*findToolForm(id), window.project(), profile, window.services(), &window);
        d.runTool();
        ok = save(&d, folder, QString("dialog_") + id + "_run", true) && ok;
    }
    // The assessment with its summary (its table is there already: replaced without asking);
    // the message that it is done is closed as it opens.
    ToolDialog assess(*findToolForm("assess"), window.project(), profile, window.services(), &window);
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    closer.start(100);
    ok = assess.runTool({}, true) == ToolStatus::Done && ok;
    closer.stop();
    return save(&assess, folder, "dialog_assess_run", true) && ok;
}

// The small dialogs, Qt's own texts in Czech, the help window.
bool saveOtherWindows(MainWindow& window, const QString& folder)
{
    bool ok = true;
    grabNextDialog(folder, "about", &ok);
    window.showAbout();
    grabNextDialog(folder, "studySystem", &ok);
    findAction(&window, "mnuSouradnicovySystem")->trigger();
    // Qt's own texts in Czech: a question and the file dialog.
    QMessageBox question(QMessageBox::Warning, QString::fromUtf8("Upozornění"),
                         QString::fromUtf8("Soubor rocni.dbf již existuje.\nChcete jej přepsat ?"),
                         QMessageBox::Yes | QMessageBox::No, &window);
    question.setObjectName("question");
    ok = save(&question, folder, "question") && ok;
    question.hide();
    QFileDialog files(&window, QString::fromUtf8("Otevření vstupního DBF souboru ..."), QDir::currentPath(),
                      QString::fromUtf8("DBF soubor (*.dbf)"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.resize(760, 480);
    ok = save(&files, folder, "file_dialog") && ok;
    files.hide();
    window.showHelp();
    if (QWidget* help = window.findChild<QWidget*>("help")) {
        ok = save(help, folder, "help", true) && ok;
        help->close();
    }
    // The column choice of the text export.
    grabNextDialog(folder, "dbfColumns", &ok);
    chooseColumns({"01 .. ID        ", "02 .. X_COORD   ", "03 .. Y_COORD   ", "06 .. CONC_AVG  "}, &window);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    installCzechQtTranslations(app);
    if (argc < 2) {
        std::fprintf(stderr, "usage: ovardix_screenshots FOLDER [PROJECT]\n");
        return 2;
    }
    QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    Profile profile(QDir(folder).absoluteFilePath("profile.ini").toStdString());
    Services services;
    services.gis = &gdalServices();
    MainWindow window(profile, services);
    if (argc > 2) {
        QDir::setCurrent(QFileInfo(QString::fromLocal8Bit(argv[2])).absolutePath());
        window.openProject(QString::fromLocal8Bit(argv[2]));
    } else {
        window.newProject();
    }
    window.resize(640, 400);
    bool ok = save(&window, folder, "main_window");
    ok = saveMenus(window, folder) && ok;
    window.move(60, 40);
    window.show();
    ok = saveDialogs(window, profile, folder) && ok;
    if (argc > 2)
        ok = saveCheckRuns(window, profile, folder) && ok;
    if (argc > 2)
        ok = saveMapWindow(window, folder) && ok;
    if (argc > 2)
        ok = saveAssessmentMap(window, folder) && ok;
    if (argc > 2)
        ok = saveMapStates(window, folder) && ok;
    ok = saveOtherWindows(window, folder) && ok;
    return ok ? 0 : 1;
}
