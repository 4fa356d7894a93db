// xovrzdr: the sources editor.
#include <QApplication>

#include "main_window.h"
#include "sources_editor/editor_settings.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("xovrzdr");
    std::vector<std::string> args;
    for (const QString& a : QApplication::arguments().mid(1))
        args.push_back(a.toStdString());
    ovd::ui::MainWindow window(ovd::editorSettingsPath());
    window.start(args);
    window.show();
    return app.exec();
}
