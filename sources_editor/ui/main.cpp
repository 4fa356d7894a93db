// xovrzdr: the sources editor.
#include <QApplication>

#include "main_window.h"
#include "sources_editor/editor_settings.h"
#include "ui_common/dialogs.h"
#include "ui_common/termination.h"
#include "ui_common/window_placement.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("xovrzdr");
    ovd::installCzechQtTranslations(app);
    std::vector<std::string> args;
    for (const QString& a : QApplication::arguments().mid(1))
        args.push_back(a.toStdString());
    ovd::sourcesui::MainWindow window(ovd::editorSettingsPath());
    // SIGTERM (the main program or the session ending) is the close box: "Uložit změny ?".
    ovd::onTerminationRequest([&window] { ovd::closeWhenFree(&window); });
    window.start(args);
    window.show();
    ovd::keepFrameOnScreen(&window);
    return app.exec();
}
