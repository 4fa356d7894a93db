// ovardix: the main program.
#include <QApplication>
#include <QFileInfo>

#include "app/tool_registry.h"
#include "app/ui/command_line.h"
#include "app/ui/main_window.h"
#include "app/ui/prompter.h"
#include "gis/gdal_services.h"
#include "ui_common/dialogs.h"
#include "ui_common/termination.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("ovardix");
    QApplication::setApplicationVersion("0.1");
    ovd::installCzechQtTranslations(app);
    using namespace ovd::mainui;

    StartRequest start = parseStartArguments(QApplication::arguments().mid(1));
    ovd::Services services;
    services.gis = &ovd::gdalServices();
    services.prompter = &systemPrompter();
    MainWindow window(ovd::Profile::openDefault(), services);
    if (start.unattended) {
        if (start.project.isEmpty() || !QFileInfo(start.project).isFile()) {
            systemPrompter().message(
                ovd::Severity::Error, ovd::kCaptionError,
                ("Soubor s parametry výpočtu " + start.project + " nelze otevřít !").toStdString());
            return 1;
        }
        window.openProject(start.project);
        window.show();
        return window.runUnattended() == ovd::ToolStatus::Done ? 0 : 1;
    }
    // Ended by the session or a signal: as by the close box, after any running editor.
    ovd::onTerminationRequest([&window] { window.requestTermination(); });
    if (start.project.isEmpty()) {
        if (!window.newProject())
            return 1;
    } else {
        window.openProject(start.project);
    }
    window.show();
    return app.exec();
}
