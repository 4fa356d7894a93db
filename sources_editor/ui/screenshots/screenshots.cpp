// Pictures of the sources editor's main window and each of its dialogs, for review and
// the user guide: xovrzdr_screenshots OUT_DIR.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

#include "common/file_io.h"
#include "common/text.h"
#include "sources_editor/ui/dust_groups_dialog.h"
#include "sources_editor/ui/file_dialogs.h"
#include "sources_editor/ui/main_window.h"
#include "sources_editor/ui/options_dialog.h"
#include "sources_editor/ui/pressure_dialog.h"
#include "sources_editor/ui/source_dialog.h"
#include "testing/test_support.h"
#include "ui_common/dialogs.h"

using namespace ovd;
using namespace ovd::sourcesui;

namespace {

QString g_out;

void grab(QWidget* w, const QString& name)
{
    QApplication::processEvents();
    w->grab().save(g_out + "/" + name + ".png");
}

// Pictures the next modal dialog (each tab of it when it has tabs) and closes it.
void shootNext(const QString& name)
{
    auto* timer = new QTimer;
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, [timer, name] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        timer->stop();
        timer->deleteLater();
        dlg->adjustSize();
        const QSize size = dlg->frameGeometry().size();
        std::printf("%s %d x %d%s\n", qPrintable(name), size.width(), size.height(),
                    size.width() <= 1366 && size.height() <= 740 ? "" : "  DOES NOT FIT 1366 x 740");
        if (auto* tabs = dlg->findChild<QTabWidget*>()) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                grab(dlg, QStringLiteral("%1_%2").arg(name).arg(i + 1));
            }
            tabs->setCurrentIndex(0);
        } else {
            grab(dlg, name);
        }
        dlg->reject();
    });
    timer->start();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    installCzechQtTranslations(app);
    if (argc < 2)
        return 2;
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    TempDir dir;
    writeFileAtomically(dir.path("body.txt"),
                        utf8ToCp1250(";Studie údolí\r\n1, 1200, 2400, 310, 1, 0, 1 ;Komín teplárny\r\n"
                                     "2, 1500, 2600, 305, 2, 1, 1 ;Skládka popílku\r\n"
                                     "3, 1200, 2150, 300, 3, 0, 2 ;Silnice I/35 úsek 1\r\n"));
    writeFileAtomically(dir.path("popis.txt"),
                        "1, 1.5, 40, 6.20552, 150, 1.2, 8.5, 0.8, 24, 0\r\n"
                        "2, 0.5, 5, 0, 2, 0, 0, 0.5, 12, 50\r\n"
                        "3, 0.002, 1000, 2000, 1400, 2300, 10, 2, 0.9, 24\r\n");
    writeFileAtomically(dir.path("prach.txt"), "000000001,2500,0,2,10,0.6,50,0.4\r\n000000002\r\n000000003\r\n");
    writeFileAtomically(dir.path("skupiny.spr"), utf8ToCp1250(";Skupiny studie\r\n1,2,5,0.5,10,0.5;Popílek\r\n"));

    MainWindow w(dir.path("xovrzdr.ini"));
    w.resize(640, 420);
    w.start({dir.path("body.txt"), dir.path("popis.txt"), dir.path("prach.txt"), dir.path("skupiny.spr"), "/s", "/ini",
             dir.path("study.ovd")});
    w.show();
    w.list()->topLevelItem(0)->setSelected(true);
    grab(&w, "frmOVRDZDR");

    EditorContext& ctx = w.context();
    ctx.dustOff = false;
    const char* names[] = {"frmBodovyZdroj", "frmPlosnyZdroj", "frmLiniovyZdroj"};
    for (int i = 0; i < 3; ++i) {
        ctx.lastTab = 0;
        shootNext(names[i]);
        editSource(*ctx.list.sources[static_cast<std::size_t>(i)], ctx, &w);
    }
    ctx.saveWithoutAsking = false;
    shootNext("frmNactiZdroje");
    askLoadFiles(ctx, &w);
    shootNext("frmUlozZdroje");
    askSaveFiles(ctx, &w);
    shootNext("frmMoznosti");
    editOptions(ctx, &w);
    shootNext("frmVypocetBZ");
    computeSelected(ctx, {}, &w);
    shootNext("frmSkupinyPrachu");
    editDustGroups(ctx, &w);
    shootNext("frmTlak");
    askPressure(101325, &w);
    ctx.modified = false;
    w.close();
    return 0;
}
