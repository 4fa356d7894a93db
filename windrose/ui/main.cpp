// xovrruz: the wind rose editor. "xovrruz FILE /s /ini PROJECT" edits FILE bound to it;
// "xovrruz /ini PROJECT" starts free.
#include <QApplication>

#include "ovrdruz.h"
#include "ui_common/dialogs.h"
#include "ui_common/termination.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("xovrruz");
    ovd::installCzechQtTranslations(app);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(QString::fromLocal8Bit(argv[i]).toStdString());
    ovd::roseui::ovrdruz window(ovd::roseui::EditorArguments::parse(args));
    // SIGTERM (the main program or the session ending) is the close box: "Uložit změny ?".
    ovd::onTerminationRequest([&window] { ovd::closeWhenFree(&window); });
    window.showWithGraph();
    return app.exec();
}
