// xovrruz_screenshots OUT_DIR ROSE_FILE PROJECT: pictures of the editor's windows on a
// wind rose, for the user guide.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTableWidget>
#include <cstdio>

#include "testing/recording_reporter.h"
#include "ui_common/dialogs.h"
#include "windrose/ui/frm_nastaveni.h"
#include "windrose/ui/frm_protokol.h"
#include "windrose/ui/frm_ruzice.h"
#include "windrose/ui/ovrdruz.h"

namespace {

bool shoot(QWidget& window, const QString& file)
{
    window.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    bool ok = window.grab().save(file);
    std::printf("%s %s\n", ok ? "written" : "FAILED", file.toLocal8Bit().constData());
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ovd::installCzechQtTranslations(app);
    if (argc != 4) {
        std::fprintf(stderr, "usage: xovrruz_screenshots OUT_DIR ROSE_FILE PROJECT\n");
        return 2;
    }
    QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    ovd::RecordingReporter reporter;
    std::string settings = QDir(out).filePath("xovrruz.ini").toStdString();
    ovd::roseui::ovrdruz window(ovd::roseui::EditorArguments::parse({argv[2], "/s", "/ini", argv[3]}), &reporter,
                                settings);
    window.resize(900, 420);
    bool ok = true;
    window.Tabulka->setCurrentCell(4, 6);
    ok &= shoot(window, out + "/xovrruz_main.png");
    window.graph()->classButtons[3]->trigger();  // class IV as a layer
    ok &= shoot(*window.graph(), out + "/xovrruz_graph.png");
    ovd::roseui::frmNastaveni options(window.settings(), &window);
    ok &= shoot(options, out + "/xovrruz_settings.png");
    options.findChild<QTabWidget*>()->setCurrentIndex(1);
    ok &= shoot(options, out + "/xovrruz_settings_graph.png");
    options.hide();
    std::unique_ptr<ovd::roseui::frmProtokol> protocol = window.protocolWindow();
    ok &= shoot(*protocol, out + "/xovrruz_protocol.png");
    window.document().setChanged(false);
    return ok ? 0 : 1;
}
