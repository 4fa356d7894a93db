// xovrruz: the wind rose editor. "xovrruz FILE /s /ini PROJECT" edits FILE bound to it;
// "xovrruz /ini PROJECT" starts free.
#include <QApplication>

#include "ovrdruz.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(QString::fromLocal8Bit(argv[i]).toStdString());
    ovd::ovrdruz window(ovd::EditorArguments::parse(args));
    window.showWithGraph();
    return app.exec();
}
